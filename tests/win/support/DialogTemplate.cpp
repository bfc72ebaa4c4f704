#include "DialogTemplate.h"

namespace {
void PutDword(std::vector<WORD>& words, DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}
}  // namespace

DialogTemplateBuilder::DialogTemplateBuilder(const std::string& caption, short width, short height,
                                             DWORD style) {
    PutDword(m_words, style | WS_VISIBLE);
    PutDword(m_words, 0);  // extended style
    m_countIndex = m_words.size();
    PutWord(0);  // item count
    PutWord(10);
    PutWord(10);
    PutWord(WORD(width));
    PutWord(WORD(height));
    PutWord(0);  // no menu
    PutWord(0);  // default class
    PutText(caption);
    PutWord(8);
    PutText("MS Sans Serif");
}

void DialogTemplateBuilder::PutText(const std::string& text) {
    for (unsigned char c : text)
        PutWord(c);
    PutWord(0);
}

void DialogTemplateBuilder::Align() {
    if (m_words.size() % 2)
        PutWord(0);
}

DialogTemplateBuilder& DialogTemplateBuilder::Add(WORD classAtom, const std::string& text, WORD id,
                                                  short x, short y, short width, short height,
                                                  DWORD style) {
    Align();  // items start on 4-byte boundaries
    PutDword(m_words, style | WS_CHILD | WS_VISIBLE);
    PutDword(m_words, 0);
    PutWord(WORD(x));
    PutWord(WORD(y));
    PutWord(WORD(width));
    PutWord(WORD(height));
    PutWord(id);
    PutWord(0xFFFF);
    PutWord(classAtom);
    PutText(text);
    PutWord(0);  // no creation data
    ++m_words[m_countIndex];
    return *this;
}

const DLGTEMPLATE* DialogTemplateBuilder::Get() {
    return reinterpret_cast<const DLGTEMPLATE*>(m_words.data());
}
