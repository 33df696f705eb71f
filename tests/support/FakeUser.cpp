#include "support/FakeUser.h"

#include <QString>

void FakeUser::showMessage(const std::string& text)
{
    shown.push_back(text);
}

bool FakeUser::askYesNo(const std::string& text)
{
    shown.push_back(text);
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

void FakeUser::yield()
{
    ++yields;
    if (onYield)
        onYield(yields);
}

bool FakeUser::equalIgnoringCase(std::string_view left, std::string_view right)
{
    // The same comparison the program makes, so tests see the program's answers.
    return QString::fromUtf8(left).compare(QString::fromUtf8(right), Qt::CaseInsensitive) == 0;
}

std::string FakeUser::chooseFolder(const Request& request)
{
    folderRequests.push_back(request);
    if (folderAnswers.empty())
        return {};
    std::string answer = std::move(folderAnswers.front());
    folderAnswers.pop_front();
    return answer;
}
