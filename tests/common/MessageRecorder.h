// Catches the program's messages for a test: each message is recorded, and the answers given
// come from a queue (OK, or the box's default button, when the queue is empty).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "placement/Message.h"

struct RecordedMessage {
    std::string text;
    std::string caption;
    unsigned kind;
};

class MessageRecorder : public MessageSink {
public:
    MessageRecorder() { SetMessageSinkForTesting(this); }
    ~MessageRecorder() override { SetMessageSinkForTesting(nullptr); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    int Show(const std::string& text, const std::string& caption, unsigned kind) override {
        messages.push_back({text, caption, kind});
        if (!answers.empty()) {
            int next = answers.front();
            answers.pop_front();
            return next;
        }
        if ((kind & 0x0F) == 0x04) return (kind & 0x100) ? answer::kNo : answer::kYes;
        return answer::kOk;
    }

    std::vector<RecordedMessage> messages;
    std::deque<int> answers;
};
