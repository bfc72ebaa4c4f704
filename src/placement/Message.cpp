#include "placement/Message.h"

namespace {
void* owner = nullptr;
std::string caption;
MessageSink* sink = nullptr;
}  // namespace

void SetMessageOwner(void* ownerWindow) { owner = ownerWindow; }

void SetMessageCaption(const std::string& text) { caption = text; }

void SetMessageSinkForTesting(MessageSink* newSink) { sink = newSink; }

int ReportMessage(const char* text, unsigned kind) {
    if (text == nullptr) return answer::kNothingShown;
    if (caption.empty()) caption = "Scenewright";
    if (sink != nullptr) return sink->Show(text, caption, kind);
    return ShowMessageBox(owner, text, caption.c_str(), kind);
}
