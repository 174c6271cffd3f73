#pragma once

// The tags of the photo editor's controls, for finding them (viewWithTag)
// and telling them apart in the pane's action. The mask-shape buttons carry
// their shape numbers (0 to 11) instead, so these start above them.
namespace PhotoEditorTag {

// The tool buttons: the first tag plus the tool's number (IWCanvasView::Tool).
constexpr int firstTool = 20;
constexpr int alignLeft = 30;
constexpr int alignCenter = 31;
constexpr int alignRight = 32;
constexpr int calloutBackground = 33;
constexpr int calloutForeground = 34;
constexpr int thickness = 35;
constexpr int sizeField = 36;

constexpr int shapeLabel = 40;
constexpr int shapeAttribute = 41;
constexpr int borderColor = 42;
constexpr int borderWidth = 43;
constexpr int dropShadow = 44;
constexpr int rotateLeft = 45;
constexpr int rotateRight = 46;
constexpr int replaceImage = 47;
constexpr int previousPhoto = 48;
constexpr int nextPhoto = 49;

constexpr int thumbnailScale = 50;
constexpr int highboost = 51;
constexpr int brightness = 52;
constexpr int contrast = 53;
constexpr int saturation = 54;
constexpr int highboostValue = 55;
constexpr int brightnessValue = 56;
constexpr int contrastValue = 57;
constexpr int saturationValue = 58;
constexpr int useFilter = 59;
constexpr int applyToAll = 60;
constexpr int showObjects = 61;

} // namespace PhotoEditorTag
