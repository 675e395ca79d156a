// An empty Windows program: the floor of a process start under Wine.
int main() { return 0; }
