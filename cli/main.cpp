#include <string>
#include <vector>

#include "Commands.h"

int main(int argc, char **argv) { return lark::runLark(std::vector<std::string>(argv + 1, argv + argc)); }
