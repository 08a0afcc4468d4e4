#include "shell/shell_main.h"

int main(int argc, char** argv) { return ShellMain(argc, argv); }
