// The slideshow's sheet: built from its rows, filled from the slideshow,
// and what its controls and label fields change written back into it.
#include "ui/layout/SlideshowSheet.h"

#include "elements/XmlSlideshow.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/ElementTables.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"
#include "application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"
#include "ui/widgets/ScreenText.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <typeinfo>

using namespace lq::inspector;

namespace {

bool beforeAndAfter(int style)
{
    return style == 2 || style == 3;
}

} // namespace

QWidget* SlideshowSheet::build()
{
    QWidget* body = buildElementSheet(9, QStringLiteral("Slideshow"));
    addGeometryFields(body, QStringLiteral("slideshow"));
    SheetBuilder rows = sheetBuilder(body);
    rows.label(QStringLiteral("Style")).popUp(InspectorTag::slideshowStyle, {{QStringLiteral("Standard"), 0}, {QStringLiteral("FreeStyle"), 1}});
    rows.label(QStringLiteral("Every"), 924).beginRow();
    rows.intPair(926, 1, 999);
    rows.text(928, QStringLiteral("seconds"));
    rows.endRow();
    rows.beginRow();
    rows.check(929, QStringLiteral("Start playing"));
    rows.check(930, QStringLiteral("Fade"));
    rows.endRow();
    rows.check(933, QStringLiteral("Thumbnail rollovers"));
    rows.check(934, QStringLiteral("Slide rollovers"));
    rows.check(935, QStringLiteral("Reverse thumbnails"));
    rows.beginRow();
    rows.check(920, QStringLiteral("Loop"));
    rows.check(936, QStringLiteral("Random order"));
    rows.endRow();

    SheetBuilder shows = rows.group(QStringLiteral("Show"));
    shows.check(910, QStringLiteral("Background box"));
    shows.check(959, QStringLiteral("Background picture"));
    shows.check(911, QStringLiteral("Captions"));
    shows.check(912, QStringLiteral("Previous and next"));
    shows.check(913, QStringLiteral("Play and stop, or before and after"));
    shows.check(914, QStringLiteral("Index"));
    shows.check(953, QStringLiteral("Pictures at the top"));

    SheetBuilder labels = rows.group(QStringLiteral("Labels"));
    const QList<QPair<int, int>> fields = {{915, 0}, {916, 0}, {917, InspectorTag::firstLabelName}, {918, InspectorTag::secondLabelName}, {919, 0}};
    const QStringList titles = {QStringLiteral("Previous"), QStringLiteral("Next"), QStringLiteral("Play"), QStringLiteral("Stop"), QStringLiteral("Index")};
    for (int index = 0; index < fields.size(); ++index) {
        MyTextField* field = labels.label(titles[index], fields[index].second).textField(fields[index].first);
        QObject::connect(field, &QLineEdit::textEdited, &_controller, [this, field] { _controller.textChange(field); });
    }

    SheetBuilder captionFont = rows.group(QStringLiteral("Caption text"));
    addFontRows(captionFont, {.font = 946, .size = 947, .color = 952, .alignment = 960, .lineSpacing = 955, .underlineLinks = 963, .links = 964});
    SheetBuilder controlFont = rows.group(QStringLiteral("Control text"));
    addFontRows(controlFont, {.font = 976, .size = 977, .color = 982, .underline = 949, .italic = 950, .bold = 951, .underlineLinks = 970, .links = 971});

    // Shown while the template shows its slideshow view: which elements show there.
    _slideVisible = new QWidget(body);
    auto* slideRows = new QVBoxLayout(_slideVisible);
    slideRows->setContentsMargins(0, 0, 0, 0);
    slideRows->addWidget(lq::plainLabel(QStringLiteral("Shown in the slideshow view:"), _slideVisible));
    _controller.elementTables().makeTable(ElementTables::Kind::SlideshowElements, _slideVisible);
    rows.view(_slideVisible);
    return body;
}

void SlideshowSheet::fill(XmlSlideshow& slideshow)
{
    lq::uiFrame(&_controller, "fillSlideshowSheet", [&] {
        QWidget* view = sheetView(QStringLiteral("slideshow"));
        // The before-and-after styles are offered only while the preference allows them.
        auto* styles = qobject_cast<MyPopUpButton*>(lq::viewWithTag(view, InspectorTag::slideshowStyle));
        {
            const QSignalBlocker quiet(styles);
            styles->clear();
            styles->addItemWithTag(QStringLiteral("Standard"), 0);
            styles->addItemWithTag(QStringLiteral("FreeStyle"), 1);
            if (MyApplication::shared().enableBeforeAfter()) {
                styles->addItemWithTag(QStringLiteral("Before/After"), 2);
                styles->addItemWithTag(QStringLiteral("B/A FreeStyle"), 3);
            }
        }
        const int style = slideshow.style();
        lq::showIndex(view, InspectorTag::slideshowStyle, style);
        showSlideshowStyle(slideshow);

        const bool twoPictures = beforeAndAfter(style);
        lq::showNumberPair(view, 926, slideshow.settings().seconds());
        lq::showState(view, 929, slideshow.settings().autoStart());
        lq::showState(view, 930, slideshow.settings().fade());
        lq::showState(view, 933, slideshow.settings().thumbRollovers());
        lq::showState(view, 934, slideshow.settings().slideRollovers());
        lq::showState(view, 935, slideshow.settings().reverseThumbs());
        lq::showState(view, 910, slideshow.settings().showBkgndBox());
        lq::showState(view, 911, slideshow.settings().showCaptions());
        lq::showState(view, 912, slideshow.settings().showPrevNextControls());
        lq::showState(view, 913, twoPictures ? slideshow.settings().showBeforeAfterControls() : slideshow.settings().showPlayControls());
        lq::showState(view, 914, slideshow.settings().showIndexLabel());
        lq::showState(view, 953, slideshow.settings().topAlignPic());
        lq::showText(view, 915, slideshow.settings().prevLabel());
        lq::showText(view, 916, slideshow.settings().nextLabel());
        lq::showText(view, 917, twoPictures ? slideshow.settings().beforeLabel() : slideshow.settings().playLabel());
        lq::showText(view, 918, twoPictures ? slideshow.settings().afterLabel() : slideshow.settings().stopLabel());
        lq::showText(view, 919, slideshow.settings().indexLabel());
        lq::showState(view, 920, slideshow.settings().loopSlideshow());
        lq::showState(view, 936, slideshow.settings().randomOrder());
        lq::showState(view, 959, slideshow.settings().allowBkgndImage());
        showFont(view, slideshow.font().get(), {.font = 946, .size = 947, .color = 952, .alignment = 960, .lineSpacing = 955,
                                                   .underlineLinks = 963, .links = 964});
        showFont(view, slideshow.controlFont().get(), {.font = 976, .size = 977, .color = 982, .underline = 949, .italic = 950,
                                                          .bold = 951, .underlineLinks = 970, .links = 971});
    });
}

void SlideshowSheet::showSlideshowStyle(XmlSlideshow& slideshow)
{
    QWidget* view = sheetView(QStringLiteral("slideshow"));
    const bool twoPictures = beforeAndAfter(slideshow.style());
    lq::showControls(view, InspectorTag::playingControls, !twoPictures);
    lq::showText(view, InspectorTag::firstLabelName, twoPictures ? QStringLiteral("Before") : QStringLiteral("Play"));
    lq::showText(view, InspectorTag::secondLabelName, twoPictures ? QStringLiteral("After") : QStringLiteral("Stop"));
    lq::showControls(view, InspectorTag::rolloverChecks, twoPictures);
    lq::showControls(view, {InspectorTag::reverseThumbs}, false);
}

void SlideshowSheet::place(XmlWebPhotoAlbum& album, XmlAlbum& page)
{
    // A slideshow of the album's photos: on an album page (never a group's)
    // with photos, when a click on a photo plays it.
    const bool belongs = album.baseVisibility() && typeid(page) == typeid(XmlAlbum)
        && (album.clickOp() == XmlWebPhotoAlbum::ClickOperation::SlideshowPage
            || album.clickOp() == XmlWebPhotoAlbum::ClickOperation::SlideshowElement);
    _controller.showSheetTab(QStringLiteral("slideshow"), belongs);
}

bool SlideshowSheet::apply(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlSlideshow* slideshow)
{
    if (!slideshow)
        return true;
    const bool on = stateOf(sender);
    // The check boxes that change what the slideshow shows: the template
    // lays it out again, and the end steps are left out.
    const auto shown = [&](void (SlideshowSettings::*setter)(bool)) {
        (slideshow->settings().*setter)(on);
        relayoutTemplate(sheet, true);
        return false;
    };
    switch (tag) {
    case 910:
        slideshow->settings().setShowBkgndBox(on);
        relayoutTemplate(sheet, true);
        return true;
    case 911:
        slideshow->settings().setShowCaptions(on ? 1 : 0);
        relayoutTemplate(sheet, true);
        return false;
    case 912: return shown(&SlideshowSettings::setShowPrevNextControls);
    case 913:
        return shown(slideshow->style() == 0 || slideshow->style() == 1 ? &SlideshowSettings::setShowPlayControls
                                                                          : &SlideshowSettings::setShowBeforeAfterControls);
    case 914: return shown(&SlideshowSettings::setShowIndexLabel);
    case 953: return shown(&SlideshowSettings::setTopAlignPic);
    case 959: return shown(&SlideshowSettings::setAllowBkgndImage);
    case 920: slideshow->settings().setLoopSlideshow(on); return false;
    case 936: slideshow->settings().setRandomOrder(on); return false;
    case InspectorTag::slideshowStyle: {
        slideshow->settings().setStyle(indexOf(sender));
        showSlideshowStyle(*slideshow);
        QWidget* view = sheetView(QStringLiteral("slideshow"));
        const bool playing = slideshow->style() == 0 || slideshow->style() == 1;
        lq::showState(view, 913, playing ? slideshow->settings().showPlayControls() : slideshow->settings().showBeforeAfterControls());
        lq::showText(view, 917, playing ? slideshow->settings().playLabel() : slideshow->settings().beforeLabel());
        lq::showText(view, 918, playing ? slideshow->settings().stopLabel() : slideshow->settings().afterLabel());
        relayoutTemplate(sheet, false);
        return true;
    }
    case 926:
    case 927: slideshow->settings().setSeconds(intValueOf(sender)); break;
    case 929: slideshow->settings().setAutoStart(on); break;
    case 930: slideshow->settings().setFade(on); break;
    case 933: slideshow->settings().setThumbRollovers(on); break;
    case 934: slideshow->settings().setSlideRollovers(on); break;
    case 935: slideshow->settings().setReverseThumbs(on); break;
    default: break;
    }
    return true;
}

void SlideshowSheet::applyLabel(int tag, const QString& text, XmlSlideshow& slideshow)
{
    const bool playing = slideshow.style() == 0 || slideshow.style() == 1;
    switch (tag) {
    case 915: slideshow.settings().setPrevLabel(text); break;
    case 916: slideshow.settings().setNextLabel(text); break;
    case 917: playing ? slideshow.settings().setPlayLabel(text) : slideshow.settings().setBeforeLabel(text); break;
    case 918: playing ? slideshow.settings().setStopLabel(text) : slideshow.settings().setAfterLabel(text); break;
    case 919: slideshow.settings().setIndexLabel(text); break;
    default: break;
    }
}
