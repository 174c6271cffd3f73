#pragma once

// The live preview views of the layout canvas. A web preview is a text
// browser with a transparent viewport that shows the HTML string it is
// given, its files found through the page's own base address (no web
// engine is used, so scripts and plug-ins do not run). A movie preview
// shows the movie's file name and natural size in place of the picture (no
// media engine is used).

#include "platform/PreviewView.h"

#include <QTextBrowser>
#include <QWidget>

namespace lq {

class WebPreviewWidget : public QTextBrowser, public PreviewView {
public:
    WebPreviewWidget(const Rect& frame, QWidget* parent = nullptr);

    void setFrame(const Rect& frame) override;
    void setHidden(bool hidden) override;
    void setNeedsDisplay() override;
    void setDrawsBackground(bool draws) override;
    void loadHTMLString(const QString& html) override;
};

class MoviePreviewWidget : public QWidget, public PreviewView {
public:
    MoviePreviewWidget(const Rect& frame, QWidget* parent = nullptr);

    void setFrame(const Rect& frame) override;
    void setHidden(bool hidden) override;
    void setNeedsDisplay() override;
    void setMovie(const Movie& movie) override;
    void setShowsController(bool shows) override;

    // "<file name>\n<width> × <height>", or "" without a movie.
    QString label() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Makes every preview view a widget on the canvas (its frame in the
// canvas's coordinates); nothing restores views without widgets.
void installPreviewWidgets(QWidget* canvas);

} // namespace lq
