#include "document/doc_importer.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::vector<CDocImporter*>& Importers()
{
    static std::vector<CDocImporter*> importers;
    return importers;
}

auto FindByName(plat::StringView name)
{
    auto& list = Importers();
    return std::find_if(list.begin(), list.end(),
                        [name](const CDocImporter* i) { return i->GetFormatName() == name; });
}

} // namespace

CDocImporter* RegisterDocImporter(CDocImporter* importer)
{
    if (!importer) return nullptr;
    auto it = FindByName(importer->GetFormatName());
    if (it != Importers().end()) return std::exchange(*it, importer);
    Importers().push_back(importer);
    return nullptr;
}

void UnregisterDocImporter(plat::StringView formatName)
{
    auto it = FindByName(formatName);
    if (it != Importers().end()) Importers().erase(it);
}

void UnregisterDocImporters()
{
    Importers().clear();
}

CDocImporter* FindDocImporter(std::span<const std::uint8_t> head)
{
    for (CDocImporter* importer : Importers())
        if (importer->Recognises(head)) return importer;
    return nullptr;
}

CDocImporter* FindDocImporterByName(plat::StringView formatName)
{
    auto it = FindByName(formatName);
    return it == Importers().end() ? nullptr : *it;
}
