int zelkDummy();
int main() { return zelkDummy() - 1; }
