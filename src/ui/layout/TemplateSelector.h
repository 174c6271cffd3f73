#pragma once

#include <memory>

class LayoutController;
class MyOutlineView;
class QVBoxLayout;
class QWidget;
class TemplateListSource;
class XmlBase;
class XmlStyleSheet;
class XmlTheme;

// The template selector under the inspector: the theme's templates in a
// list, the chosen one becoming the page's template, and the commands that
// add a template (a copy of the page's, named after the page), remove the
// unused ones and copy parts of the chosen one into others.
class TemplateSelector {
public:
    explicit TemplateSelector(LayoutController& controller);
    ~TemplateSelector();

    // The list and its command buttons, added to the inspector's column.
    void build(QVBoxLayout* column, QWidget* owner);
    // The list shows the theme's templates.
    void showTheme(XmlTheme* theme);
    // The row of the template, chosen without counting as the user's choice.
    void selectTemplateInList(XmlStyleSheet* sheet);

    // A copy of the current template, named after the page, becomes the page's template.
    void addTemplate();
    // The template chosen in the list becomes the page's template.
    void templateSelector();
    // The sheets that remove unused templates and copy parts of the chosen
    // template into others; the list shows the theme afterwards.
    void deleteTemplates();
    void copyElements();
    // Templates never open in the list; other elements open when they can have children.
    bool outlineViewIsItemExpandable(XmlBase* item) const;

    MyOutlineView* templateList() const { return _templateList; }

private:
    LayoutController& _controller;
    MyOutlineView* _templateList = nullptr;
    std::unique_ptr<TemplateListSource> _templateSource;
};
