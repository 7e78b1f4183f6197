// The kind library of media/: the image object now, the clip objects later. Its one
// registration function registers every node type the library implements with the
// document's object factory; RegisterObjectKinds calls it.
#pragma once

void RegisterMediaKinds();
