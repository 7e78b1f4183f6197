#include "objects/drawing_kinds.h"

#include "objects/table_object.h"

// One line a kind: each kind's file defines its own registration, declared here.
void RegisterShapeKind(); // shape_object.cpp
void RegisterTextShapeKind(); // text_shape.cpp
void RegisterDrawingKinds() {
    RegisterShapeKind();
    RegisterTableKind();
    RegisterTextShapeKind();
}
