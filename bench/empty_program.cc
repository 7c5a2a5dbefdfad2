// Does nothing: the start-up cost of any program built like Kestrin.exe.
int main() { return 0; }
