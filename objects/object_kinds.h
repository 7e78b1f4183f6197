// The object kinds of every kind library, registered with the document's object factory
// in one call: the control calls it once, and so do the tests and the fuzz targets that
// read object records. Static initialisers would not do: the linker drops them from
// static libraries that nothing else references.
#pragma once

void RegisterObjectKinds();
