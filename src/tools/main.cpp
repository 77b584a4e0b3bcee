#include "Tool.h"

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    // Exported numbers and dates follow the user's locale, as in the program.
    std::setlocale(LC_ALL, "");
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tools::runTool(args, std::cout, std::cerr);
}
