#include "platform/com/dispatch.h"

#include <exception>

namespace plat {

namespace {

bool SameName(StringView a, StringView b) { return EqualsIgnoringAsciiCase(a, b); }

void CheckEntry(const DispatchTable::Entry& entry)
{
    const MemberInfo& m = entry.info;
    auto fail = [&](const char* why) {
        throw std::logic_error("dispatch member " + Utf16ToUtf8(m.name) + ": " + why);
    };
    if (m.name.empty()) fail("no name");
    if (!entry.call) fail("no function");
    for (const ParamInfo& p : m.params) {
        if (p.name.empty()) fail("a parameter without a name");
    }
    if (m.kind == MemberKind::kPropertyGet && (!m.params.empty() || m.result == VarType::kEmpty)) {
        fail("a property get takes nothing and returns a value");
    }
    if (m.kind == MemberKind::kPropertyPut && (m.params.size() != 1 || m.result != VarType::kEmpty)) {
        fail("a property put takes one value and returns nothing");
    }
}

bool KindMatches(MemberKind kind, unsigned flags)
{
    switch (kind) {
    case MemberKind::kMethod: return (flags & kInvokeMethod) != 0;
    case MemberKind::kPropertyGet: return (flags & kInvokePropertyGet) != 0;
    case MemberKind::kPropertyPut: return (flags & kInvokePropertyPut) != 0;
    }
    return false;
}

} // namespace

const Guid& Dispatch::Iid()
{
    static const Guid iid = Guid::FromText(u"00020400-0000-0000-C000-000000000046");
    return iid;
}

String DescribeMember(const MemberInfo& member)
{
    String text;
    if (member.kind == MemberKind::kPropertyGet) text = u"propget ";
    if (member.kind == MemberKind::kPropertyPut) text = u"propput ";
    text += Format(u"%d %s(", member.id, member.name);
    for (size_t i = 0; i < member.params.size(); ++i) {
        if (i > 0) text += u", ";
        text += AsciiToUtf16(VarTypeName(member.params[i].type));
        text += u' ';
        text += member.params[i].name;
    }
    text += u") ";
    text += AsciiToUtf16(VarTypeName(member.result));
    return text;
}

DispatchTable::DispatchTable(const Guid& iid, StringView name, StringView doc, std::vector<Entry> entries)
    : m_entries(std::move(entries))
{
    m_info.iid = iid;
    m_info.name = String(name);
    m_info.doc = String(doc);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const MemberInfo& m = m_entries[i].info;
        CheckEntry(m_entries[i]);
        for (size_t j = 0; j < i; ++j) {
            const MemberInfo& other = m_entries[j].info;
            // One id and one name belong together; only a property's get and put share them.
            const bool sameId = other.id == m.id;
            const bool sameName = SameName(other.name, m.name);
            const bool propertyPair = sameId && sameName && other.kind != m.kind &&
                                      other.kind != MemberKind::kMethod && m.kind != MemberKind::kMethod;
            if ((sameId || sameName) && !propertyPair) {
                throw std::logic_error("dispatch member " + Utf16ToUtf8(m.name) + ": id or name used twice");
            }
        }
        m_info.members.push_back(m);
    }
}

const DispatchTable::Entry* DispatchTable::Find(DispId id, unsigned flags) const
{
    // A caller that allows both a method and a property get finds whichever the id is.
    for (const Entry& entry : m_entries) {
        if (entry.info.id == id && KindMatches(entry.info.kind, flags)) return &entry;
    }
    return nullptr;
}

HRESULT DispatchTable::GetIDsOfNames(const std::vector<String>& names, std::vector<DispId>* ids) const
{
    if (!ids) return E_POINTER;
    if (names.empty()) return E_INVALIDARG;
    ids->assign(names.size(), kDispIdUnknown);
    const MemberInfo* member = nullptr;
    for (const Entry& entry : m_entries) {
        if (SameName(entry.info.name, names[0])) {
            // A property's put carries the parameter name; its get has none.
            if (!member || entry.info.params.size() > member->params.size()) member = &entry.info;
        }
    }
    if (!member) return DISP_E_UNKNOWNNAME;
    (*ids)[0] = member->id;
    HRESULT hr = S_OK;
    for (size_t i = 1; i < names.size(); ++i) {
        for (size_t p = 0; p < member->params.size(); ++p) {
            if (SameName(member->params[p].name, names[i])) (*ids)[i] = static_cast<DispId>(p);
        }
        if ((*ids)[i] == kDispIdUnknown) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT DispatchTable::Invoke(void* self, DispId id, unsigned flags, const std::vector<Variant>& args,
                              Variant* result, ExceptionInfo* exception, unsigned* argError) const
{
    const Entry* entry = Find(id, flags);
    if (!entry) return DISP_E_MEMBERNOTFOUND;
    const std::vector<ParamInfo>& params = entry->info.params;
    if (args.size() != params.size()) return DISP_E_BADPARAMCOUNT;
    std::vector<Variant> converted(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        HRESULT hr = args[i].Type() == VarType::kError ? DISP_E_PARAMNOTOPTIONAL
                                                       : ChangeType(args[i], params[i].type, &converted[i]);
        if (Failed(hr)) {
            if (argError) *argError = static_cast<unsigned>(i);
            return hr;
        }
    }
    Variant value;
    try {
        value = entry->call(self, converted);
    } catch (const std::exception& e) {
        if (exception) *exception = {m_info.name, Utf8ToUtf16(e.what())};
        return DISP_E_EXCEPTION;
    } catch (...) {
        if (exception) *exception = {m_info.name, u"unknown error"};
        return DISP_E_EXCEPTION;
    }
    if (result) *result = std::move(value);
    return S_OK;
}

} // namespace plat
