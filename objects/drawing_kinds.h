// The kind library of objects/: drawn shapes, text shapes and tables. Its one registration
// function registers every node type the library implements with the document's object
// factory; RegisterObjectKinds calls it.
#pragma once

void RegisterDrawingKinds();
