#include "app/form1.h"

namespace kazuban::app {

// Not built yet.
void Form1::pmnusave_click() {  }
void Form1::pmnuprt_click() {  }
void Form1::pmnuprt2_click() {  }
void Form1::pmnuprt3_click() {  }
void Form1::mnuatoroku_Click() {  }
void Form1::mnuanet_Click() {  }
void Form1::refreshLinks() {  }
void Form1::Command1_Click(int) {  }
void Form1::Option1_Click(int) {  }
void Form1::Command2_Click() {  }
void Form1::Command7_Click() {  }
void Form1::Command8_Click() {  }

}  // namespace kazuban::app
