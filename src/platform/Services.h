#pragma once

#include "platform/Alert.h"
#include "platform/PreviewView.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

// What the hooks below make or take; they live in the layers above this
// one, which fill the hooks, so they are only named here.
class EditorPanel;
enum class EditorKind;
class LayoutControllerBase;
class MyDocument;
class MyDocumentWindow;
class XmlBase;

namespace lq {

class InPlaceTextEditor;

// The hooks by which a lower layer asks for something that only a higher
// one can make or answer: the shell's alerts, the editing and preview views
// of the canvases, the photo library's node and captions, and what tests put
// in place of the build, the panels and the layout editor. An empty hook
// means "none": the lower layer goes without, or does its own default.
//
// A program makes one, has each layer fill its part (registerWidgetServices,
// registerPhotoLibraryServices, registerLayoutServices) and installs it for
// as long as it runs (ServicesScope); the code that needs a hook asks
// services() at the moment it needs it.
struct Services {
    // --- The platform -----------------------------------------------------
    // Shows a model's alert and waits for its button; none: alerts show nothing.
    AlertHandler alertHandler;
    // Makes the view that edits a styled text in place; none: no in-place edits.
    std::function<std::unique_ptr<InPlaceTextEditor>()> inPlaceTextEditorFactory;
    // Makes the live preview views (none, or none made: views of
    // PreviewView itself, which show nothing).
    PreviewView::Factory previewViewFactory;
    // Why each kind of preview (PreviewView::Kind) cannot be shown; empty
    // while it can. Kept by PreviewView::setUnavailable and setAvailable.
    std::array<QString, 2> previewUnavailability;

    // --- The site and its build -------------------------------------------
    // Makes a site's photo-library node, which writes nothing; none: a site
    // has no such node.
    std::function<std::shared_ptr<XmlBase>()> iPhotoNodeFactory;
    // The caption the photo library has for a picture file (a null string
    // for none); none: imported photos are named after their files.
    std::function<QString(const QString& filename)> captionLookup;
    // Called in place of the document's whole build, with what to do when
    // every file is written; none: the real build.
    std::function<void(MyDocument& document, std::function<void()> then)> siteBuilder;

    // --- The document window ----------------------------------------------
    // Makes the panel of a kind; a kind it answers none of (and every kind
    // while it is empty) gets the window's own panel.
    std::function<std::unique_ptr<EditorPanel>(EditorKind kind)> panelFactory;
    // Makes the layout editor of the "layout" and "preview" tabs; none:
    // those tabs stay empty.
    std::function<std::unique_ptr<LayoutControllerBase>(MyDocumentWindow& window)> layoutFactory;
};

// The services installed last. A program that installs none (a helper
// tool that only reads and writes sites) gets an empty set of its own.
Services& services();

// Installs the services while it lives and then puts back the ones
// installed before. The services must outlive it.
class ServicesScope {
public:
    explicit ServicesScope(Services& services);
    ~ServicesScope();
    ServicesScope(const ServicesScope&) = delete;
    ServicesScope& operator=(const ServicesScope&) = delete;

private:
    Services* _previous;
};

// Installs the services for the calling thread alone while the object
// lives; the other threads keep the program's. A thread that works on a
// copy of a document installs an empty set, so that nothing it reads calls
// into the interface.
class ThreadServicesScope {
public:
    explicit ThreadServicesScope(Services& services);
    ~ThreadServicesScope();
    ThreadServicesScope(const ThreadServicesScope&) = delete;
    ThreadServicesScope& operator=(const ThreadServicesScope&) = delete;

private:
    Services* _previous;
};

} // namespace lq
