#include "app/form1.h"
#include "views/predraw.h"

namespace kazuban::app {

Form1::Form1(platform::Platform& p) : platform(p) {}
Form1::~Form1() = default;

// Not built yet.
bool Form1::Form_Load(const std::string&) { return false; }
void Form1::mnufclose_Click() {  }
void Form1::mnuktoroku_Click() {  }
void Form1::loadWinningNumbers() {  }
bool Form1::msgIsOne() const { return false; }
void Form1::buildPairCounts() {  }
void Form1::buildPairCountsBefore(int) {  }
void Form1::buildRecentRanking() {  }

}  // namespace kazuban::app
