#pragma once

// The tags of the text menu's items. The document window asks the shown
// panel about them (getMenuItemState) and hands them to it (menuClicked);
// a panel passes them to the rich-text editor that has the keyboard focus.
namespace TextMenuTag {
constexpr int bold = 200;
constexpr int italic = 201;
constexpr int underline = 202;
constexpr int heading = 203;
constexpr int normal = 204;
constexpr int left = 205;
constexpr int center = 206;
constexpr int right = 207;
} // namespace TextMenuTag
