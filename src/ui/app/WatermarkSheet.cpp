#include "ui/app/WatermarkSheet.h"

#include "model/imaging/XmlWatermark.h"
#include "platform/Colour.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SheetBuilder.h"

#include <array>
#include <cmath>

namespace {

// The placement each item of the pop-up stores, and the text size divisor
// it is drawn with (the diagonal ones are drawn larger).
struct PlacementItem {
    const char* title;
    int placement;
    int variableSize;
};
constexpr std::array<PlacementItem, 6> placementItems {{
    {"None", 0, 50},
    {"Along the bottom", 6, 50},
    {"Up the right side", 9, 50},
    {"Bottom right corner", 5, 50},
    {"Diagonally", 3, 25},
    {"Diagonally, three times", 4, 25},
}};

enum Tag : int { TextTag = 1550, TypeTag = 1551, ToWhatTag = 1552, ColorTag = 1553, OpacityTag = 1554 };

} // namespace

WatermarkSheet::WatermarkSheet(QWidget* window)
    : QDialog(window)
{
    setWindowTitle(QStringLiteral("Watermark"));
    SheetBuilder b(this, this, {});
    WatermarkText = b.label(QStringLiteral("Text")).textField(TextTag);
    WatermarkText->setMinimumWidth(260);
    SheetBuilder::TaggedItems items;
    for (std::size_t i = 0; i < placementItems.size(); ++i)
        items.append({QString::fromLatin1(placementItems[i].title), static_cast<int>(i)});
    WatermarkType = b.label(QStringLiteral("Placement")).popUp(TypeTag, items);
    WatermarkTextColor = b.label(QStringLiteral("Colour")).colorWell(ColorTag);
    WatermarkTextOpacity = b.label(QStringLiteral("Opacity")).slider(OpacityTag, 0, 100);
    WatermarkToWhat = b.label(QStringLiteral("Apply to"))
                          .matrix(ToWhatTag, {{QStringLiteral("This album page"), CurrentPage}, {QStringLiteral("Every page"), EveryPage}});
    b.sheetButtons(this, QStringLiteral("Apply"));
    // The colour panel edits the well only while the sheet is up.
    connect(this, &QDialog::finished, WatermarkTextColor, [this] { WatermarkTextColor->setActive(false); });
}

int WatermarkSheet::itemForPlacement(int placement)
{
    for (std::size_t i = 0; i < placementItems.size(); ++i) {
        if (placementItems[i].placement == placement)
            return static_cast<int>(i);
    }
    return 0;
}

int WatermarkSheet::placementForItem(int item)
{
    return item >= 0 && item < static_cast<int>(placementItems.size()) ? placementItems[item].placement : 0;
}

void WatermarkSheet::fill(const XmlWatermark& watermark)
{
    WatermarkText->setText(watermark.content());
    WatermarkType->setCurrentIndex(itemForPlacement(watermark.placement()));
    WatermarkToWhat->selectCellWithTag(CurrentPage);
    lq::Colour colour = watermark.textColorWithoutAlpha();
    colour.a = 1.0f;
    WatermarkTextColor->setColor(colour.toQColor());
    WatermarkTextOpacity->setValue(static_cast<int>(std::lround(watermark.textAlpha() * 100.0f)));
    _filledAlpha = watermark.textAlpha();
    _filledOpacity = WatermarkTextOpacity->value();
}

WatermarkSheet::Target WatermarkSheet::target() const
{
    return WatermarkToWhat->selectedTag() == EveryPage ? EveryPage : CurrentPage;
}

void WatermarkSheet::applyTo(XmlWatermark& watermark) const
{
    const int item = WatermarkType->currentIndex();
    const bool known = item >= 0 && item < static_cast<int>(placementItems.size());
    watermark.setContent(WatermarkText->text());
    watermark.setVariableSizeText(50);
    watermark.setTextColorWithoutAlpha(lq::Colour::fromQColor(WatermarkTextColor->color()));
    const int opacity = WatermarkTextOpacity->value();
    watermark.setTextAlpha(opacity == _filledOpacity ? _filledAlpha : static_cast<float>(opacity) / 100.0f);
    watermark.setPlacement(known ? placementItems[item].placement : 0);
    if (known && placementItems[item].variableSize != 50)
        watermark.setVariableSizeText(placementItems[item].variableSize);
}
