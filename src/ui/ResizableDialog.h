// A dialog that keeps chosen controls attached to its right and bottom edges as the user resizes
// it, that cannot be made smaller than it was created, and that opens where it was when it last
// closed (its size and place kept beside the settings, by template id).
#pragma once

#include <cstdint>
#include <vector>

#include "framework/Dialog.h"

namespace anchor {
constexpr uint16_t kMoveRight = 1;
constexpr uint16_t kMoveDown = 2;
constexpr uint16_t kStretchRight = 4;  // wins over kMoveRight
constexpr uint16_t kStretchDown = 8;   // wins over kMoveDown
}  // namespace anchor

class CResizableDialog : public CDialog {
  public:
    CResizableDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}
    ~CResizableDialog() override = default;

    // Called before the window exists, usually from the derived constructor; flags 0 add nothing.
    void AddAnchor(int controlId, uint16_t flags);

  protected:
    BOOL OnInitDialog() override { return CDialog::OnInitDialog(); }
    void PlaceWindow() override;
    int OnCreate(CREATESTRUCTA* create);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnSize(UINT type, int width, int height);
    void OnDestroy();
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

  private:
    int32_t m_minTrackWidth = 0;
    int32_t m_minTrackHeight = 0;
    int32_t m_lastClientWidth = 0;
    int32_t m_lastClientHeight = 0;
    // Control id in the low 16 bits, flags in the high 16 bits, in the order added.
    std::vector<uint32_t> m_anchors;
    // The scaling the sizes above are measured at; while it changes, the system lays the
    // controls out again itself.
    UINT m_dpi = 0;
    bool m_dpiChanging = false;
};
