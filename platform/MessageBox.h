#pragma once

#include <string>

namespace platform {

/// Modal message boxes: the program's title "Quorvane" as caption, no icon.
/// Texts are UTF-8.
class MessageBox {
public:
    virtual ~MessageBox() = default;

    /// Shows `text` with a single OK button and returns once the user has closed it.
    virtual void showMessage(const std::string& text) = 0;

    /// Asks `text` with the buttons Yes and No; true when the user answered Yes.
    virtual bool askYesNo(const std::string& text) = 0;

    /// The same question with No as the default button, for a step that is hard to
    /// take back. Boxes without default buttons need not tell the two apart.
    virtual bool askYesNoDefaultNo(const std::string& text) { return askYesNo(text); }

    /// The same question, where a standing "yes to everything" must not answer: a yes
    /// starts work that will likely fail part-way (a destination too small).
    virtual bool askYesNoUnassumed(const std::string& text) { return askYesNoDefaultNo(text); }
};

} // namespace platform
