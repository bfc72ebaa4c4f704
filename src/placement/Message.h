// ReportMessage: the one routine through which the program shows its messages, a modal message
// box captioned "Scenewright" (or the caption set at start-up), owned by the main window.
#pragma once

#include <string>

// Message-box type words (MB_* combinations) that the program uses.
namespace message_kind {
constexpr unsigned kPlain = 0x000;           // OK, no icon
constexpr unsigned kStop = 0x010;            // OK, stop icon
constexpr unsigned kExclamation = 0x030;     // OK, exclamation icon
constexpr unsigned kAddQuestion = 0x024;     // Yes/No, question icon, Yes default
constexpr unsigned kQuitQuestion = 0x124;    // Yes/No, question icon, No default
constexpr unsigned kReplaceQuestion = 0x134; // Yes/No, exclamation icon, No default
}  // namespace message_kind

// Button codes (IDOK, IDYES, IDNO) and the answer given when there was nothing to show.
namespace answer {
constexpr int kOk = 1;
constexpr int kNothingShown = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace answer

int ReportMessage(const char* text, unsigned kind);
inline int ReportMessage(const std::string& text, unsigned kind) {
    return ReportMessage(text.c_str(), kind);
}

// The owner window of the boxes (an HWND on Windows; null for none) and their caption; an empty
// caption shows as "Scenewright".
void SetMessageOwner(void* ownerWindow);
void SetMessageCaption(const std::string& caption);

// Test seam: while a sink is set, messages go to it instead of to a message box and its answer
// is the button pressed. The shipped program never sets one.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual int Show(const std::string& text, const std::string& caption, unsigned kind) = 0;
};
void SetMessageSinkForTesting(MessageSink* sink);

// Shows the real box (platform part); used by ReportMessage when no sink is set.
int ShowMessageBox(void* ownerWindow, const char* text, const char* caption, unsigned kind);
