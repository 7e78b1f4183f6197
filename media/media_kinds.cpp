#include "media/media_kinds.h"

#include <memory>

#include "media/image_object.h"

namespace {

std::unique_ptr<CFloatObject> MakeImage(CDocContext* doc, CDocNode* parent)
{
    return std::make_unique<CImageObject>(doc, parent);
}

} // namespace

void RegisterMediaKinds()
{
    RegisterDocObject(kNodeImage, &MakeImage);
}
