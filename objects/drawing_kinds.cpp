#include "objects/drawing_kinds.h"

// One line a kind: each kind's file defines its own registration, declared here.
void RegisterShapeKind(); // shape_object.cpp
void RegisterDrawingKinds() {
    RegisterShapeKind();
}
