// Kazuban: placeholder until the window is built.
int main() { return 0; }
