// Builds dialog templates in memory, for tests of windows that have no template of their own.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

class DialogTemplateBuilder {
  public:
    DialogTemplateBuilder(const std::string& caption, short width, short height) {
        Styles(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
        Words({0, 10, 10, WORD(width), WORD(height), 0, 0});  // no items yet, menu or class
        Text(caption);
        Words({8});
        Text("MS Sans Serif");
    }
    // Class atoms: 0x0080 button, 0x0081 edit, 0x0082 static, 0x0085 combo box.
    DialogTemplateBuilder& Add(WORD classAtom, const std::string& text, WORD id, short x, short y,
                               short width, short height, DWORD style) {
        if (m_words.size() % 2)
            Words({0});  // items start on 4-byte boundaries
        Styles(style | WS_CHILD | WS_VISIBLE);
        Words({WORD(x), WORD(y), WORD(width), WORD(height), id, 0xFFFF, classAtom});
        Text(text);
        Words({0});    // no creation data
        ++m_words[4];  // the template's item count
        return *this;
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

  private:
    void Words(std::initializer_list<WORD> words) { m_words.insert(m_words.end(), words); }
    void Styles(DWORD style) { Words({LOWORD(style), HIWORD(style), 0, 0}); }  // no extended one
    void Text(const std::string& text) {
        for (unsigned char c : text)
            m_words.push_back(c);
        m_words.push_back(0);
    }
    std::vector<WORD> m_words;
};
