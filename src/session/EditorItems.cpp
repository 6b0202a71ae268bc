// The level editor's item table and the names its lists show.
#include "session/EditorItems.h"

#include "common/Com.h"

namespace kelvra {

const TEditorItemDef kEditorItems[eiCount] = {
    {eiCutLevel, emLevel, "Cu&t Level", "", kForAll, false},
    {eiCopyLevel, emLevel, "Copy Level", "", kForAll, false},
    {eiPasteLevel, emLevel, "Paste Level", "", kForAll, false},
    {eiDeleteLevel, emLevel, "Delete Level", "", kForAll, false},
    {eiNewLevel, emLevel, "New Level", "", kForAll, false},
    {eiLevelName, emLevel, "Level Name...", "", kForMonsters, false},
    {eiDescription, emLevel, "Description...", "", kForBrickfall, false},
    {eiFinalMessage, emLevel, "Final Message...", "", kForBrickfall, false},
    {eiLock, emLevel, "Lock", "", kForAll, false},
    {eiUndo, emEdit, "Undo", "Ctrl+Z", kForAll, false},
    {eiRedo, emEdit, "Redo", "Shift+Ctrl+Z", kForAll, false},
    {eiCopyLeftToRight, emEdit, "Copy Left to Right", "", kForAll, false},
    {eiCopyUpToDown, emEdit, "Copy Up to Down", "", kForGrids, false},
    {eiWallPositions, emEdit, "Wall Positions", "", kForBrickfall, false},
    {eiRandomWallColor, emEdit, "Random Wall Color", "", kForBrickfall, false},
    {eiRandomWallBonus, emEdit, "Random Wall Bonus", "", kForBrickfall, false},
    {eiRotate, emEdit, "Rotate", "Ctrl+R", kForMonsters, false},
    {eiChangeKind, emEdit, "Change Kind", "Ctrl+K", kForMonsters, false},
    {eiSelectAll, emEdit, "Select All", "Ctrl+A", kForAll, false},
    {eiInvertSelection, emEdit, "Invert Selection", "", kForAll, false},
    {eiStars, emEffects, "Stars", "", kForBrickfall, true},
    {eiRain, emEffects, "Rain", "", kForBrickfall, true},
    {eiSnow, emEffects, "Snow", "", kForBrickfall, true},
    {eiSmallSnow, emEffects, "Small Snow", "", kForBrickfall, true},
    {eiFire, emEffects, "Fire", "", kForBrickfall, true},
    {eiBubble, emEffects, "Bubble", "", kForBrickfall, true},
    {eiWater, emEffects, "Water", "", kForBrickfall, true},
    {eiSmoke, emEffects, "Smoke", "", kForBrickfall, true},
    {eiPoints, emEffects, "Points", "", kForBrickfall, true},
    {eiLighting, emEffects, "Lighting", "", kForBrickfall, true},
    {eiEnemy, emEffects2, "Enemy", "", kForBrickfall, true},
    {eiEarthquake, emEffects2, "Earthquake...", "", kForBrickfall, true},
    {eiGravity, emEffects2, "Gravity...", "", kForBrickfall, true},
    {eiMaxWind, emEffects2, "Max Wind...", "", kForBrickfall, true},
    {eiBackgroundEffect, emBackground, "Effect...", "", kForBrickfall, false},
    {eiFill, emBackground, "Fill", "", kForBrickfall, true},
    {eiSelectColor, emBackground, "Select Color...", "", kForBrickfall, false},
    {eiRGB, emBackground, "RGB", "", kForBrickfall, true},
    {eiSelectTexture, emBackground, "Select Texture...", "", kForBrickfall, false},
    {eiPicture, emBackground, "Picture", "", kForBrickfall, true},
    {eiSelectPicture, emBackground, "Select Picture...", "", kForBrickfall, false},
    {eiGrid, emView, "Grid", "", kForBrickfall, true},
    {eiGridSize, emView, "Grid Size...", "", kForBrickfall, false},
    {eiBonuses, emView, "Bonuses", "", kForBrickfall, true},
    {eiMaskBackground, emView, "Mask Background", "", kForBrickfall, true},
    {eiRightIsLeft, emView, "Right is Left", "", kForBrickfall, true},
    {eiBottomIsTop, emView, "Bottom is Top", "", kForBrickfall, true},
    {eiRightBottomIsLeftTop, emView, "RightBottom is LeftTop", "", kForBrickfall, true},
    {eiCut, emPopup, "Cu&t Wall", "Ctrl+X", kForAll, false},
    {eiCopy, emPopup, "&Copy Wall", "Ctrl+C", kForAll, false},
    {eiPaste, emPopup, "&Paste Wall", "Ctrl+V", kForAll, false},
    {eiDelete, emPopup, "&Delete Wall", "Del", kForAll, false},
    {eiAlignToGrid, emPopup, "Align to Grid", "Ctrl+G", kForBrickfall, false},
};

const char* const kEditorMenuTitles[emCount] = {"Level",      "Edit", "Effects", "Effects",
                                                "Background", "View", ""};

const char* const kDirectionNames[4] = {"Left", "Down", "Right", "Up"};
const char* const kWallColourNames[6] = {"Red", "Orange", "Yellow", "Lime", "Aqua", "White"};

std::vector<std::string> SquareKindNames(int kind) {
  if (kind == gkMonsters)
    return {"None", "Earth",  "Gate",  "Wall",    "Money", "Tunnel",
            "Pit",  "Player", "House", "Monster", "Ghost", "No"};
  if (kind == gkBurrower)
    return {"None", "Earth", "Wall", "Fruit", "Apple", "Brooder", "Player", "No"};
  return {};
}

}  // namespace kelvra
