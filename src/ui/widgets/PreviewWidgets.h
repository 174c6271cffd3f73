#pragma once

// The live preview views of the layout canvas. A web preview is a browser
// engine view (Qt WebEngine) with a transparent page background, showing the
// HTML string it is given with its files found through the page's own base
// address, scripts running. A movie preview shows the movie's file name and
// natural size in place of the picture (no media engine is used).
//
// Where the web engine cannot start (its helper process is missing, or its
// page process dies), web previews are declared unavailable with a log line
// (PreviewView::canShow) and the elements draw their placeholders instead.

#include "platform/PreviewView.h"

#include <QUrl>
#include <QWebEngineView>
#include <QWidget>

namespace lq {

class WebPreviewWidget : public QWebEngineView, public PreviewView {
    Q_OBJECT
public:
    WebPreviewWidget(const Rect& frame, QWidget* parent = nullptr);
    ~WebPreviewWidget() override;

    void setFrame(const Rect& frame) override;
    void setHidden(bool hidden) override;
    void setNeedsDisplay() override;
    void setDrawsBackground(bool draws) override;
    void loadHTMLString(const QString& html) override;

    // The base address of the page last loaded (its "<base href>").
    const QUrl& baseUrl() const { return _baseUrl; }
    // True once the page last loaded has finished loading.
    bool isLoaded() const { return _loaded; }

Q_SIGNALS:
    void pageLoaded(bool ok);

private:
    QUrl _baseUrl;
    bool _loaded = false;
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

// Makes every preview view a widget on the canvas (the services'
// previewViewFactory), its frame in page coordinates placed from the canvas's
// page origin. Checks first whether the web engine can start here (a kind
// found unable stays so). Nothing restores views without widgets, every
// kind available.
void installPreviewWidgets(QWidget* canvas);

// Where page coordinate (0, 0) lies in the canvas; the canvas's preview
// widgets move with it.
void setPreviewOrigin(QWidget* canvas, const QPoint& origin);

// Why the web engine cannot start on this machine, or "" when it can: its
// helper process must exist. Sets the engine's command-line flags the first
// time it is asked (no sandbox when running as root, no GPU without one or
// on the offscreen platform).
QString webEngineUnavailability();

} // namespace lq
