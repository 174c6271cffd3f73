#pragma once

// The tags of the menu items. Below 100 the application's commands
// (MyDocumentController::menuClicked); 100 to 999 the document's commands
// (MyDocumentWindow::menuClicked), of which 200 to 207 go on to the current
// editor panel; 1000 and above commands that only need a document window.
namespace MenuTag {
enum : int {
    // --- Application -------------------------------------------------------------
    NewSite = 50,
    Open = 51,
    Preferences = 53,
    About = 54,
    Manual = 55,
    CheckForUpdates = 56,
    ReportBug = 57,
    Quit = 59,
    Tips = 61,
    TemplatesPage = 62,
    Supplement = 63,
    HelpIndex = 64,

    // --- Document ------------------------------------------------------------------
    Save = 100,
    Rebuild = 103,
    Publish = 104,
    SaveAs = 105,
    Archive = 106,
    Versions = 107,
    SaveWithComment = 108,
    Activity = 109,
    ImportTheme = 110,
    ExportTheme = 111,
    Themes = 112,
    AddGroup = 150,
    AddAlbum = 151,
    AddPhotos = 152,
    ExportWebsite = 154,
    Watermark = 155,

    // --- The current panel's text ----------------------------------------------------
    Bold = 200,
    Italic = 201,
    Underline = 202,
    Heading = 203,
    Normal = 204,
    AlignLeft = 205,
    Center = 206,
    AlignRight = 207,

    // --- The window ------------------------------------------------------------------
    Link = 1000,
    Close = 1001,
};

// Where a tag goes.
constexpr bool isApplicationTag(int tag) { return tag < 100; }
constexpr bool isDocumentTag(int tag) { return tag >= 100 && tag <= 999; }
constexpr bool isPanelTag(int tag) { return tag >= Bold && tag <= AlignRight; }
} // namespace MenuTag
