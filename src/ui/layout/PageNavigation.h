#pragma once

class LayoutController;
class MyPopUpButton;
class QLabel;
class QWidget;

// The page controls above the canvas in the layout and preview tabs: a
// pop-up of the site's pages with the current one selected, the previous,
// next and home buttons, and (in the preview tab) the status line.
class PageNavigation {
public:
    explicit PageNavigation(LayoutController& controller);

    // The controls of one tab around its pop-up; the layout tab's end with
    // the compact button, the preview tab's with the status line.
    QWidget* buildPageControls(bool preview);
    // Fills both page pop-ups with the site's pages, the current one selected.
    void fillWebPages();
    // The one-line hint for the page being designed.
    void displayStatusString();

    // Page navigation: the pop-up's page, the default album, the next and
    // the previous page (both wrapping; previous first leaves a picture preview).
    void selectPage(MyPopUpButton* sender);
    void homePage();
    void nextPage();
    void prevPage();

    MyPopUpButton* webPage() const { return _webPage; }
    MyPopUpButton* webPage2() const { return _webPage2; }
    QLabel* statusLine() const { return _statusLine; }

private:
    void showPageAt(int index);
    int selectedPageIndex() const;

    LayoutController& _controller;
    MyPopUpButton* _webPage = nullptr;
    MyPopUpButton* _webPage2 = nullptr;
    QLabel* _statusLine = nullptr;
};
