#pragma once

// A slideshow page as a visitor sees it: opened in headless Chromium with a
// measuring script added, which reports where the menu, the slide, its
// caption and the page's description land, and whether the previous, next
// and play controls can be seen and next shows another photo.
#include "support/HeadlessChromium.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRectF>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace slideshowpage {

// Measures the slideshow page once it has loaded, presses "next", and puts
// what it found into the body's data-lqtest attribute as JSON.
inline const char* const slideshowProbeScript = R"(<script type="text/javascript">
window.lqErrors = [];
window.addEventListener('error', function (e) { window.lqErrors.push(String(e.message)); });
window.addEventListener('load', function () {
  function box(e) { var b = e.getBoundingClientRect(); return [b.left, b.top, b.width, b.height]; }
  function shown(e) {
    for (var n = e; n && n.nodeType === 1; n = n.parentNode)
      if (getComputedStyle(n).display === 'none' || getComputedStyle(n).visibility === 'hidden') return false;
    return true;
  }
  function boxes(list) { var r = []; for (var i = 0; i < list.length; ++i) if (shown(list[i])) r.push(box(list[i])); return r; }
  function slide() {
    var a = document.getElementById('ssviewerA'), b = document.getElementById('ssviewerB');
    return a && shown(a) ? a : b && shown(b) ? b : null;
  }
  function control(id) {
    var c = document.getElementById(id);
    if (!c || !shown(c)) return null;
    var b = c.getBoundingClientRect();
    var top = document.elementFromPoint(b.left + b.width / 2, b.top + b.height / 2);
    return { box: box(c), text: c.textContent.replace(/\s+/g, ' ').trim(), pictures: c.getElementsByTagName('img').length,
             onTop: !!top && (top === c || c.contains(top)) };
  }
  var r = {};
  r.menu = boxes(document.querySelectorAll('#navigation, a.nav, a.current, a.subnav, a.subcurrent'));
  var s = slide();
  r.slide = s ? [box(s)] : [];
  r.first = s ? s.getAttribute('src') : '';
  r.caption = boxes(document.querySelectorAll('div[id^="stext"] p'));
  r.description = boxes(document.querySelectorAll('div.content p'));
  r.panel = boxes(document.querySelectorAll('#contentbox'));
  r.controls = { prev: control('ssprev'), next: control('ssnext'), play: control('ssplay') };
  r.errors = window.lqErrors;
  var next = document.getElementById('ssnext');
  var tries = 0;
  function finish() {
    var now = slide();
    r.afterNext = now ? now.getAttribute('src') : '';
    if (r.afterNext === r.first && ++tries < 50) { setTimeout(finish, 100); return; }
    document.body.setAttribute('data-lqtest', JSON.stringify(r));
  }
  if (next) next.click();
  setTimeout(finish, 100);
});
</script>
)";

inline QList<QRectF> rectsOf(const QJsonValue& value)
{
    QList<QRectF> rects;
    for (const QJsonValue& item : value.toArray()) {
        const QJsonArray b = item.toArray();
        // The measuring elements stand far left of the page: not shown.
        if (b.at(2).toDouble() > 0 && b.at(3).toDouble() > 0 && b.at(0).toDouble() + b.at(2).toDouble() > 0)
            rects.append(QRectF(b.at(0).toDouble(), b.at(1).toDouble(), b.at(2).toDouble(), b.at(3).toDouble()));
    }
    return rects;
}

// Boxes that share more than a pixel's sliver overlap.
inline bool overlap(const QRectF& a, const QRectF& b)
{
    const QRectF both = a.intersected(b);
    return both.width() > 1 && both.height() > 1;
}

inline QString describe(const QRectF& r)
{
    return QStringLiteral("%1,%2 %3×%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// How the checks open pages: a window wide enough for the page, no scroll bars.
inline QStringList chromiumArguments()
{
    return { QStringLiteral("--headless"), QStringLiteral("--hide-scrollbars"), QStringLiteral("--force-device-scale-factor=1"),
             QStringLiteral("--window-size=1000,1000"), QStringLiteral("--virtual-time-budget=10000") };
}

// The page with the measuring script before its end, written to the probe file.
inline bool writeProbe(const QByteArray& page, const QString& probeFile)
{
    QByteArray probe = page;
    const qsizetype end = probe.lastIndexOf("</body>");
    if (end < 0)
        return false;
    probe.insert(end, slideshowProbeScript);
    QFile file(probeFile);
    return file.open(QIODevice::WriteOnly) && file.write(probe) == probe.size();
}

struct Look {
    bool browser = false;   // Chromium ran
    QString why;            // what went wrong, when the measurements are missing
    QString json;           // what the page reported
    QJsonObject measured;
};

// Opens the probe at the address and reads what it measured.
inline Look look(const QString& url)
{
    Look look;
    QByteArray out;
    QByteArray err;
    if (runHeadlessChromium(chromiumArguments() + QStringList { QStringLiteral("--dump-dom") }, url, &out, &err) != 0) {
        look.why = QString::fromUtf8(err.left(400));
        return look;
    }
    look.browser = true;
    static const QRegularExpression result(QStringLiteral("data-lqtest=\"([^\"]*)\""));
    const auto match = result.match(QString::fromUtf8(out));
    if (!match.hasMatch()) {
        look.why = QStringLiteral("the page's measurements did not run:\n") + QString::fromUtf8(err.left(3000));
        return look;
    }
    look.json = match.captured(1).replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    look.measured = QJsonDocument::fromJson(look.json.toUtf8()).object();
    return look;
}

// The page ran without script errors; menu, slide, caption and (when the
// page has one) description each show and no two overlap; the description
// stays inside its panel; the controls can be seen and next shows another
// photo.
inline void expectLooksRight(const Look& look, bool withDescription)
{
    ASSERT_FALSE(look.measured.isEmpty()) << look.why.toStdString();
    const QJsonObject& r = look.measured;
    const QString& json = look.json;
    EXPECT_TRUE(r.value("errors").toArray().isEmpty()) << qPrintable(json);

    // Menu, slide, caption and description each show, and no two overlap.
    const QList<std::pair<QString, QList<QRectF>>> parts {
        { QStringLiteral("menu"), rectsOf(r.value("menu")) },
        { QStringLiteral("slide"), rectsOf(r.value("slide")) },
        { QStringLiteral("caption"), rectsOf(r.value("caption")) },
        { QStringLiteral("description"), rectsOf(r.value("description")) },
    };
    for (const auto& [part, rects] : parts) {
        if (part != QStringLiteral("description") || withDescription) {
            EXPECT_FALSE(rects.isEmpty()) << "no " << part.toStdString() << " on the page: " << qPrintable(json);
        }
    }
    for (qsizetype a = 0; a < parts.size(); ++a) {
        for (qsizetype b = a + 1; b < parts.size(); ++b) {
            for (const QRectF& one : parts[a].second) {
                for (const QRectF& other : parts[b].second)
                    EXPECT_FALSE(overlap(one, other)) << parts[a].first.toStdString() << " " << describe(one).toStdString() << " overlaps "
                                                      << parts[b].first.toStdString() << " " << describe(other).toStdString();
            }
        }
    }

    // The description stays inside its panel.
    const QList<QRectF> panel = rectsOf(r.value("panel"));
    for (const QRectF& line : rectsOf(r.value("description"))) {
        ASSERT_EQ(panel.size(), 1) << qPrintable(json);
        EXPECT_TRUE(panel.first().adjusted(-1, -1, 1, 1).contains(line))
            << describe(line).toStdString() << " outside its panel " << describe(panel.first()).toStdString();
    }

    // Previous, next and play can be seen (a label or a picture, not
    // hidden under another part) and next shows another photo.
    for (const char* id : { "prev", "next", "play" }) {
        const QJsonObject control = r.value("controls").toObject().value(QLatin1String(id)).toObject();
        ASSERT_FALSE(control.isEmpty()) << id << " is not on the page: " << qPrintable(json);
        const QList<QRectF> at = rectsOf(QJsonArray { control.value("box") });
        EXPECT_FALSE(at.isEmpty()) << id << " has no size: " << qPrintable(json);
        EXPECT_TRUE(!control.value("text").toString().isEmpty() || control.value("pictures").toInt() > 0) << id << ": " << qPrintable(json);
        EXPECT_TRUE(control.value("onTop").toBool()) << id << " is covered: " << qPrintable(json);
        for (const auto& [part, rects] : parts) {
            for (const QRectF& rect : rects) {
                if (!at.isEmpty()) {
                    EXPECT_FALSE(overlap(at.first(), rect)) << id << " overlaps the " << part.toStdString();
                }
            }
        }
    }
    EXPECT_TRUE(r.value("first").toString().startsWith(QStringLiteral("pictures/slide"))) << qPrintable(json);
    EXPECT_NE(r.value("afterNext").toString(), r.value("first").toString()) << "next shows another photo: " << qPrintable(json);
}

} // namespace slideshowpage
