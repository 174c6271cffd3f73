#pragma once

// The passes in which a page template writes a page. The template asks every
// visible element for its part in each pass, in this order; an element
// writes in the passes it takes part in and leaves the others alone. The
// layers (FirstLayer to LastLayer) are written one after the other into the
// page's body, so a later layer lies above an earlier one.
enum class PagePass : int {
    // Inside the head's script: the font checks of the site script.
    HeadScript = -1,
    // The rest of the head: the style sheets and scripts an element needs.
    Head = 0,

    FirstLayer = 1,
    // Vorn Boxes of the "Background" layer.
    BackgroundVorns = 2,
    // The boxes of the content box and the footer.
    ContentBox = 3,
    MastheadBox = 4,
    AlbumBox = 5,
    SlideshowBackground = 6,
    PageTitleBox = 7,
    NavigationBox = 8,
    // Vorn Boxes of the "Middle" layer.
    MiddleVorns = 9,
    MastheadText = 10,
    Thumbnails = 11,
    SlideshowControls = 12,
    PageTitleText = 13,
    NavigationItems = 14,
    // The text of the content box and the footer.
    ContentText = 15,
    // Every other Vorn Box.
    ForegroundVorns = 16,
    LastLayer = 17,

    // After the page's own division: the scripts that start things.
    AfterPage = 18,
    // After the page file: the steps that make what the page uses.
    Steps = 19,
};
