#include "app/StartRequest.h"

#include "app/CommandLine.h"
#include "app/CommandTable.h"
#include "app/DesktopTexts.h"
#include "app/TypedPath.h"

#include <sys/stat.h>
#include <utility>

namespace {

bool isFolder(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

StartRequest refused(std::string error)
{
    StartRequest request;
    request.kind = StartRequest::Kind::UsageError;
    request.error = std::move(error);
    return request;
}

} // namespace

StartRequest readStartRequest(int argc, char** argv)
{
    StartRequest request;
    if (argc >= 2 && isCommandLine(argc, argv)) {
        request.kind = StartRequest::Kind::CommandLine;
        return request;
    }
    bool optionsEnded = false;
    bool sourceGiven = false;
    bool destGiven = false;
    for (int at = 1; at < argc; ++at) {
        const std::string word = argv[at];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            if (sourceGiven)
                return refused(desktop_texts::sourceGivenTwice());
            // A bare word that is neither a folder nor a path was most likely meant as a
            // subcommand: opening the window on it would hide the mistake.
            const std::string path = absoluteFromWorkingFolder(word);
            if (word.find('/') == std::string::npos && !isFolder(path))
                return refused(desktop_texts::notCommandNorFolder(word));
            request.source = path;
            sourceGiven = true;
            continue;
        }
        const command_table::Option* option = command_table::findOption(word, command_table::Scope::Window);
        if (option == nullptr)
            return refused(desktop_texts::unknownOption(word));
        const std::string name(option->longName);
        const bool isSource = option->id == command_table::OptionId::Source;
        std::string value;
        if (name.size() < word.size())
            value = word.substr(name.size() + 1);
        else if (at + 1 < argc && argv[at + 1][0] != '-') // "--source --dest X" lacks a source
            value = argv[++at];
        if (value.empty())
            return refused(desktop_texts::folderMissingAfter(name));
        bool& given = isSource ? sourceGiven : destGiven;
        if (given)
            return refused(isSource ? desktop_texts::sourceGivenTwice() : desktop_texts::destGivenTwice());
        given = true;
        (isSource ? request.source : request.dest) = absoluteFromWorkingFolder(value);
    }
    return request;
}
