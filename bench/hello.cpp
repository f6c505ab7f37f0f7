// The start-up reference of the whole-process benchmark: a C++ hello world
// built with the compiler, flags and linking of tarvel-cli.

#include <iostream>

int main() { std::cout << "Hello, world!\n"; }
