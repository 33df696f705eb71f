// Writes the shell completions into the folder given: "quorvane" for bash, "_quorvane"
// for zsh. Run by the build; not installed.
#include "app/CompletionScripts.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: quorvane_completions FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    for (const auto& [name, text] : {std::pair{"quorvane", completion_scripts::bash()},
                                     std::pair{"_quorvane", completion_scripts::zsh()}}) {
        std::ofstream file(folder + '/' + name, std::ios::binary | std::ios::trunc);
        file << text;
        if (!file.flush()) {
            std::fprintf(stderr, "quorvane_completions: cannot write %s/%s\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
