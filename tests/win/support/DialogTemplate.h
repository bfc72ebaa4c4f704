// Builds dialog templates in memory, for tests of windows that have no template of their own.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class DialogTemplateBuilder {
  public:
    DialogTemplateBuilder(const std::string& caption, short width, short height,
                          DWORD style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION |
                                        WS_SYSMENU);
    // Class atoms: 0x0080 button, 0x0081 edit, 0x0082 static, 0x0085 combo box.
    DialogTemplateBuilder& Add(WORD classAtom, const std::string& text, WORD id, short x, short y,
                               short width, short height, DWORD style);
    const DLGTEMPLATE* Get();

  private:
    void Align();
    void PutWord(WORD word) { m_words.push_back(word); }
    void PutText(const std::string& text);
    std::vector<WORD> m_words;
    size_t m_countIndex = 0;
};
