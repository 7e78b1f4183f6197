// The page body's layout as text and as values, and the checks every layout must pass:
// what layout tests compare with their expected dumps and run after every layout they
// make.
#pragma once
#include <string>
#include <vector>

#include "platform/base/geometry.h"

class CDocBody;
class CNamedContainer;

// One laid-out line: items from..to-1 in flow order and their box (left of the first item
// to the furthest drawn right edge; line top to line top + line height).
struct CLaidOutLine {
    int from = 0;
    int to = 0;
    plat::Rect box;
};

// The lines of a container: items that follow each other on one line top, each starting
// where the one before it ends.
std::vector<CLaidOutLine> CollectLines(const CNamedContainer& box);

// The body as text: page count, objects with their bounds and anchors, then page by page
// the text area, the free regions and the lines with their items and rectangles. Lines in
// the overflow frame are listed under "overflow". (It walks the region list, so the region
// cursor moves.)
std::string DumpLayout(CDocBody& body);

// Every item's placed geometry, the page count and the objects' places: two layouts are
// the same when these are equal.
struct CLayoutSnapshot {
    struct Item {
        int type, left, top, width, height, lineTop, lineHeight, drawnWidth;
        bool operator==(const Item&) const = default;
    };
    struct Object {
        plat::Rect bounds;
        int anchorState, anchorOffset;
        bool operator==(const Object&) const = default;
    };
    int pageCount = 0;
    std::vector<Item> items;
    std::vector<Object> objects;
    bool operator==(const CLayoutSnapshot&) const = default;
};
CLayoutSnapshot TakeLayoutSnapshot(const CDocBody& body);
// The first differences between two layouts (at most maxReported), one a line; empty when
// they are the same.
std::string DiffLayouts(const CLayoutSnapshot& expected, const CLayoutSnapshot& actual, int maxReported = 8);

// What is wrong with a body's layout, one text a fault; empty when it is sound. Lines on
// pages 1-500 must lie inside their page's text area, must not overlap each other and must
// keep out of every floating object's wrap area (its bounds widened by the gap text keeps
// from an object's side). Lines placed anyway because nothing could hold them (a run
// taller or wider than the text area) break these rules by design.
std::vector<std::string> CheckLayoutInvariants(CDocBody& body);
