#pragma once

namespace platform {

class EventPump;
class FolderDialog;
class MessageBox;
class TextCompare;

/// Everything the plain C++ core needs from the user's side of the program. The
/// program hands in the Qt implementations; tests hand in scripted fakes.
struct UserServices {
    MessageBox& messages;
    EventPump& events;
    TextCompare& text;
    FolderDialog& folders;
};

} // namespace platform
