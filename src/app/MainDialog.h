// The main window: the placement form, the simulator version, the catalogues of the version and
// the placement list, for the whole life of the program.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "framework/ToolTipCtrl.h"
#include "placement/FormControls.h"
#include "placement/FormEntries.h"
#include "placement/OutputList.h"
#include "placement/Placement.h"
#include "sim/Effects.h"
#include "sim/KeptCatalogue.h"
#include "sim/LibraryCatalogue.h"
#include "sim/LibraryScan.h"
#include "sim/ObjectFinder.h"
#include "sim/SimVersion.h"
#include "ui/HoverComboBox.h"
#include "ui/HoverEdit.h"
#include "ui/TransparentPicture.h"

class CMainDialog;

// The form interface over the main window's real controls: what the placement model, the output
// list and the field checks read and change.
class DialogFormControls : public FormControls {
  public:
    explicit DialogFormControls(CMainDialog& dialog) : m_dialog(dialog) {}
    std::string GetText(int id, size_t maxChars) const override;
    void SetText(int id, std::string_view text) override;
    int GetSelectedRow(int id) const override;
    int FindRowExact(int id, std::string_view text) const override;
    intptr_t GetRowData(int id, int row) const override;
    bool IsChecked(int id) const override;
    void EnableControl(int id, bool enable) override;
    void SetTooltip(int id, std::string_view text) override;
    void FocusAndSelectAll(int id) override;
    void CommandStateMayHaveChanged() override;

  private:
    HWND Control(int id) const;
    CMainDialog& m_dialog;
};

class CMainDialog : public CDialog {
  public:
    explicit CMainDialog(CWnd* parent = nullptr);
    ~CMainDialog() override;

    bool PreTranslateMessage(MSG* message) override;

    // Enables Add, Clear and Build once the form allows them; never disables.
    void UpdateCommandState();
    // The same without first reporting a Name text that is no row of the list.
    void EnableCommands();

    const OutputList& Output() const { return m_outputList; }

    // The placement file to open once start-up has finished (the command line's file).
    void OpenAfterStartUp(std::string path) { m_startFile = std::move(path); }
    // The placements window over this one; Use there fills the form here.
    void ShowPlacements();
    void UsePlacement(const FormEntries& entries);
    // The find window over this one; Use there picks the found row in the Name list.
    void ShowFindObject();
    void UseFoundObject(ObjectType kind, uint32_t position);
    // The Google Earth commands of the system menu.
    void ExportToGoogleEarth();
    void ImportFromGoogleEarth();
    CToolTipCtrl& ToolTip() { return m_toolTip; }

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

  public:  // message handlers (the message map calls them)
    void OnSysCommand(UINT command, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDestroy();
    void OnAdd();
    void OnClear();
    void OnBrowseName();
    void OnBrowseOutput();
    void OnSnapToGround();
    // The altitude box and its label follow Snap to Ground; the focus is not moved.
    void ShowAltitudeState();
    void OnTypeChange();
    void OnNameChange();
    void OnNameEdited();
    void OnSelectVersion();
    void OnRescan();
    void OnPictureClick();
    void OnKillfocusOutputFile();
    void CheckFieldOnLeaving(int field);
    void OnKillfocusLatitude();
    void OnKillfocusLongitude();
    void OnKillfocusAltitude();
    void OnKillfocusPitch();
    void OnKillfocusBank();
    void OnKillfocusHeading();
    void OnBuild();
    LRESULT OnOpenStartFile(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

  private:
    friend class DialogFormControls;

    void AddSystemMenuEntries();
    void AddToolTips();
    void FillListsFromTemplateData();
    void SetUpFormForVersion();
    void RescanCatalogues(KeptCatalogueUse use = KeptCatalogueUse::TakeWhenCurrent);
    void FillNameList(ObjectType type);
    // The Name list's text of a library object, by catalogue position.
    const char* LibraryRowText(size_t position) const;
    ObjectFinder& FinderFor(ObjectType kind);
    void FillDensityList();
    void ShowPicture(int index);
    void ShowVersionButton(const char* shortCode);
    ObjectType CurrentType() const;
    const char* CurrentInstallPath() const;

  public:  // the controls, bound by id when the window opens
    CWnd m_buildButton;
    CWnd m_versionButton;
    CWnd m_nameLabel;
    CHoverEdit m_outputFile;
    CHoverComboBox m_typeList;
    CHoverComboBox m_nameBox;
    CWnd m_browseNameButton;
    CTransparentPicture m_picture;
    CHoverEdit m_latitude;
    CHoverEdit m_longitude;
    CHoverEdit m_altitude;
    CWnd m_altitudeLabel;
    CWnd m_snapToGround;
    CHoverEdit m_pitch;
    CHoverEdit m_bank;
    CHoverEdit m_heading;
    CHoverComboBox m_density;
    CWnd m_parameters;
    CWnd m_clearButton;
    CWnd m_addButton;

  private:
    SimVersionTable m_simVersions;
    int m_currentVersion = kNoSimVersion;
    int m_keepAssembler = 1;
    int m_viewOutput = 1;
    HICON m_icon = nullptr;
    UINT m_pictureIndex = 0;
    CToolTipCtrl m_toolTip;
    EffectsCatalogue m_effects;
    LibraryCatalogue m_libraries;
    std::vector<uint32_t> m_libraryRowOrder;  // the Name list's row order of the library
    // The search data of the find window, built on its first use after each scan.
    ObjectFinder m_libraryFinder;
    ObjectFinder m_effectFinder;
    OutputList m_outputList;
    std::string m_caption;
    DialogFormControls m_form{*this};
    std::string m_startFile;
    bool m_startingUp = false;      // inside OnInitDialog
    bool m_checkingFields = false;  // a field check's message box may take the focus
};
