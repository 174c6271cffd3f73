#pragma once
// Tags of the inspector's controls that the layout controller shows, hides
// or relabels by name. Every control carries its tag (viewWithTag); the
// hundreds of a tag name its sheet (see LayoutController::controlWithTag).
// The sheets' own tables, which build and fill the controls, give the
// tags as numbers, line by line.
#include <QLatin1String>
#include <QString>

#include <initializer_list>

namespace InspectorTag {

// Page sheet: the two slice heights of a sliced background, and their labels.
constexpr int topSlice = 160;
constexpr int bottomSlice = 162;
constexpr std::initializer_list<int> sliceControls = {160, 161, 162, 163, 164, 165, 166, 167};
constexpr int elementList = 113;
constexpr int pageImageWell = 112;

// Navigation sheet: the item width of a menu of fixed-width items, and its label.
constexpr std::initializer_list<int> itemWidthControls = {332, 333, 335};
constexpr int firstRolloverWell = 360;

// Photo album sheet: the labels of the width and height fields, which hold
// the columns and rows of a grid.
constexpr int widthLabel = 596;
constexpr int heightLabel = 595;

// Slideshow sheet.
constexpr int slideshowStyle = 925;
constexpr std::initializer_list<int> playingControls = {924, 926, 927, 928, 929, 930};
constexpr std::initializer_list<int> rolloverChecks = {933, 934};
constexpr int reverseThumbs = 935;
constexpr int firstLabelName = 941;
constexpr int secondLabelName = 943;

// Border and background panel.
constexpr int backgroundKind = 621;
constexpr int borderImageWell = 622;
constexpr std::initializer_list<int> transparencyControls = {625, 626};
constexpr int partSelector = 632;
constexpr int firstPartCell = 633;
constexpr int dropShadow = 640;
constexpr int positionLabel = 650;
constexpr std::initializer_list<int> acrossControls = {651, 652, 653};
constexpr std::initializer_list<int> downControls = {654, 655, 656};
// The background kinds of the pop-up: six, and "Picture Frame" while an
// album's picture frame is loaded.
constexpr int backgroundKinds = 6;

// Vorn Box sheet.
constexpr int vornBoxKind = 1109;
constexpr int vornImageWell = 1130;

// PayPal sheet.
constexpr int payPalImageWell = 1205;

} // namespace InspectorTag

// The controls of one font on a sheet; 0 for one the sheet has not. A
// number is a field and its stepper (tag, tag + 1); the alignment is three
// buttons and the link colours three wells (normal, hover, clicked), each
// from its first tag.
struct InspectorFontTags {
    int font = 0;
    int size = 0;
    int color = 0;
    int underline = 0;
    int italic = 0;
    int bold = 0;
    int alignment = 0;
    int lineSpacing = 0;
    int underlineLinks = 0;
    int links = 0;
};

// The fields of an element sheet that show its geometry: a field and its
// stepper each (N and N + 1); 0 for a value the sheet does not show.
struct GeometryFields {
    const char* sheet;
    int top;
    int height;
    int left;
    int width;
};

constexpr GeometryFields geometryFields[] = {
    {"masthead", 200, 202, 205, 207},
    {"navigation", 300, 0, 302, 304},
    {"content", 400, 406, 402, 404},
    {"photoalbum", 524, 530, 526, 528},
    {"footer", 700, 702, 705, 707},
    {"pagetitle", 800, 802, 805, 807},
    {"slideshow", 900, 902, 905, 907},
    {"vornbox", 1100, 1102, 1105, 1107},
};

inline const GeometryFields* geometryFieldsOfSheet(const QString& sheet)
{
    for (const GeometryFields& fields : geometryFields) {
        if (sheet == QLatin1String(fields.sheet))
            return &fields;
    }
    return nullptr;
}
