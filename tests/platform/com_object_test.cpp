// Reference-counted objects, interface lookup, class factories and the module's counts
// of live objects and locks.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/com/unknown.h"

namespace {

using plat::Guid;
using plat::HRESULT;
using plat::Ref;
using plat::Unknown;

class Greeter : public Unknown {
public:
    static const Guid& Iid()
    {
        static const Guid iid = Guid::FromText(u"{6A1D0E52-3F3B-4C51-9E0A-2B7F0C1D4E01}");
        return iid;
    }
    virtual int Greet() = 0;
};

class Counter : public Unknown {
public:
    static const Guid& Iid()
    {
        static const Guid iid = Guid::FromText(u"{6A1D0E52-3F3B-4C51-9E0A-2B7F0C1D4E02}");
        return iid;
    }
    virtual int Next() = 0;
};

const Guid kNoSuchInterface = Guid::FromText(u"{6A1D0E52-3F3B-4C51-9E0A-2B7F0C1D4EFF}");
const Guid kGreeterClass = Guid::FromText(u"{6A1D0E52-3F3B-4C51-9E0A-2B7F0C1D4E10}");

class GreeterObject : public plat::Object<Greeter, Counter> {
public:
    int Greet() override { return 7; }
    int Next() override { return ++m_n; }

private:
    int m_n = 0;
};

TEST(Guid, TextFormsRoundTrip)
{
    const Guid g = Guid::FromText(u"{0123abcd-4567-89AB-cdef-0011223344FF}");
    EXPECT_EQ(g.data1, 0x0123ABCDu);
    EXPECT_EQ(g.data2, 0x4567u);
    EXPECT_EQ(g.data3, 0x89ABu);
    EXPECT_EQ(g.data4[0], 0xCD);
    EXPECT_EQ(g.data4[7], 0xFF);
    EXPECT_EQ(g.ToString(), u"{0123ABCD-4567-89AB-CDEF-0011223344FF}");
    EXPECT_EQ(Guid::FromText(g.ToString()), g);
    // The braceless form that plat::NewGuid gives.
    EXPECT_EQ(Guid::FromText(u"0123abcd-4567-89ab-cdef-0011223344ff"), g);
    const Guid fresh = Guid::New();
    EXPECT_FALSE(fresh.IsNull());
    EXPECT_NE(fresh, Guid::New());
}

TEST(Guid, MalformedTextIsRefused)
{
    const char16_t* bad[] = {
        u"",
        u"{0123abcd-4567-89ab-cdef-0011223344ff",   // no closing brace
        u"0123abcd-4567-89ab-cdef-0011223344f",     // short
        u"0123abcd-4567-89ab-cdef-0011223344fff",   // long, no braces
        u"0123abcd+4567-89ab-cdef-0011223344ff",    // wrong separator
        u"0123abcd-4567-89ab-cdef0-011223344ff",    // separator misplaced
        u"0123abcg-4567-89ab-cdef-0011223344ff",    // not hexadecimal
        u"[0123abcd-4567-89ab-cdef-0011223344ff]",
    };
    for (const char16_t* text : bad) {
        Guid g = kGreeterClass;
        EXPECT_FALSE(Guid::Parse(text, &g)) << plat::Utf16ToUtf8(text);
        EXPECT_EQ(g, kGreeterClass);
        EXPECT_THROW(Guid::FromText(text), std::invalid_argument);
    }
}

TEST(Object, InterfacesByIdShareOneCount)
{
    const long before = plat::LiveObjectCount();
    auto* object = new GreeterObject;
    EXPECT_EQ(plat::LiveObjectCount(), before + 1);

    Ref<Greeter> greeter;
    ASSERT_EQ(object->QueryInterface(Greeter::Iid(), greeter.Slot()), plat::S_OK);
    Ref<Counter> counter;
    ASSERT_EQ(greeter->QueryInterface(Counter::Iid(), counter.Slot()), plat::S_OK);
    EXPECT_EQ(greeter->Greet(), 7);
    EXPECT_EQ(counter->Next(), 1);
    EXPECT_EQ(counter->Next(), 2);

    // Unknown's id gives the same pointer from every interface: the object's identity.
    Ref<Unknown> a, b;
    ASSERT_EQ(greeter->QueryInterface(Unknown::Iid(), a.Slot()), plat::S_OK);
    ASSERT_EQ(counter->QueryInterface(Unknown::Iid(), b.Slot()), plat::S_OK);
    EXPECT_EQ(a.Get(), b.Get());

    void* none = object;
    EXPECT_EQ(object->QueryInterface(kNoSuchInterface, &none), plat::E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(object->QueryInterface(Greeter::Iid(), nullptr), plat::E_POINTER);

    // Creator's reference, greeter, counter, a, b.
    EXPECT_EQ(object->AddRef(), 6u);
    EXPECT_EQ(object->Release(), 5u);
    object->Release();
    a.Reset();
    b.Reset();
    counter.Reset();
    EXPECT_EQ(plat::LiveObjectCount(), before + 1);
    greeter.Reset();
    EXPECT_EQ(plat::LiveObjectCount(), before);
}

plat::Unknown* MakeGreeter() { return static_cast<Greeter*>(new GreeterObject); }

TEST(ClassFactory, CreatesObjectsOfItsClass)
{
    const long before = plat::LiveObjectCount();
    Ref<plat::ClassFactory> factory;
    ASSERT_EQ(plat::GetClassObject({{kGreeterClass, MakeGreeter}}, kGreeterClass,
                                   plat::ClassFactory::Iid(), factory.Slot()),
              plat::S_OK);
    Ref<Greeter> greeter;
    ASSERT_EQ(factory->CreateInstance(nullptr, Greeter::Iid(), greeter.Slot()), plat::S_OK);
    EXPECT_EQ(greeter->Greet(), 7);
    // The caller holds the only reference.
    EXPECT_EQ(greeter->AddRef(), 2u);
    greeter->Release();
    greeter.Reset();
    factory.Reset();
    EXPECT_EQ(plat::LiveObjectCount(), before);
}

TEST(ClassFactory, RefusalsLeaveNothingAlive)
{
    const long before = plat::LiveObjectCount();
    plat::SimpleClassFactory* factory = new plat::SimpleClassFactory(kGreeterClass, MakeGreeter);
    Ref<Greeter> outer;
    ASSERT_EQ(factory->CreateInstance(nullptr, Greeter::Iid(), outer.Slot()), plat::S_OK);

    struct Case {
        const char* what;
        plat::Unknown* outer;
        Guid iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {"aggregation", outer.Get(), Unknown::Iid(), plat::CLASS_E_NOAGGREGATION},
        {"interface the class lacks", nullptr, kNoSuchInterface, plat::E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        void* out = factory;
        EXPECT_EQ(factory->CreateInstance(c.outer, c.iid, &out), c.expected) << c.what;
        EXPECT_EQ(out, nullptr) << c.what;
        EXPECT_EQ(plat::LiveObjectCount(), before + 2) << c.what; // the factory and `outer`
    }
    EXPECT_EQ(factory->CreateInstance(nullptr, Greeter::Iid(), nullptr), plat::E_POINTER);

    auto* failing = new plat::SimpleClassFactory(kGreeterClass, [] { return nullptr; });
    void* out = nullptr;
    EXPECT_EQ(failing->CreateInstance(nullptr, Greeter::Iid(), &out), plat::E_OUTOFMEMORY);
    failing->Release();

    outer.Reset();
    factory->Release();
    EXPECT_EQ(plat::LiveObjectCount(), before);

    void* none = &out;
    EXPECT_EQ(plat::GetClassObject({{kGreeterClass, MakeGreeter}}, kNoSuchInterface,
                                   plat::ClassFactory::Iid(), &none),
              plat::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(none, nullptr);
}

TEST(ClassFactory, ObjectsAndLocksKeepTheModuleLoaded)
{
    ASSERT_TRUE(plat::ModuleCanUnload());
    Ref<plat::ClassFactory> factory;
    ASSERT_EQ(plat::GetClassObject({{kGreeterClass, MakeGreeter}}, kGreeterClass,
                                   plat::ClassFactory::Iid(), factory.Slot()),
              plat::S_OK);
    EXPECT_FALSE(plat::ModuleCanUnload()); // the factory itself is a live object
    EXPECT_EQ(factory->LockServer(true), plat::S_OK);
    EXPECT_EQ(factory->LockServer(true), plat::S_OK);
    factory.Reset();
    EXPECT_EQ(plat::ServerLockCount(), 2);
    EXPECT_FALSE(plat::ModuleCanUnload());
    plat::LockModule(false);
    EXPECT_FALSE(plat::ModuleCanUnload());
    plat::LockModule(false);
    EXPECT_TRUE(plat::ModuleCanUnload());
    // An unlock too many does not leave the count below zero.
    plat::LockModule(false);
    plat::LockModule(true);
    EXPECT_FALSE(plat::ModuleCanUnload());
    plat::LockModule(false);
    EXPECT_TRUE(plat::ModuleCanUnload());
}

} // namespace
