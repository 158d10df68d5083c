// kazuban-cli: placeholder until the command line is wired.
#include <cstdio>
int main() { std::puts("kazuban-cli"); return 0; }
