// Helpers of the floating-object, page-object-list and page-body tests: the tests' object
// kind, archives in memory and a white canvas to paint on.
#pragma once
#include "tests/document/test_object.h"
#include "tests/document/text_model_support.h"
#include "tests/support/pixel_probe.h"

namespace objtest {

using textmodel::Bytes;
using textmodel::LoadFrom;
using textmodel::Store;

// A white memory DC of the given size.
using testsupport::Canvas;

} // namespace objtest
