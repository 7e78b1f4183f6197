/* An outside C program built against an installed Orthon with pkg-config alone: loads the
 * library, checks a word, adds one, and finds it again after unloading and loading again.
 *   orthon_words LIBRARY DICTIONARY-FOLDER */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

#include <orthon.h>

struct Orthon {
    void* handle;
    OrthonLoadSpellCheckFn load;
    OrthonReleaseSpellCheckFn release;
    OrthonCheckWordFn check;
    OrthonFindWordFn find;
    OrthonGetWordFn get;
    OrthonAddWordFn add;
};

static int failures;

static void expect(int ok, const char* what)
{
    if (!ok) {
        fprintf(stderr, "orthon_words: %s\n", what);
        ++failures;
    }
}

static void* bind(void* handle, const char* name)
{
    void* fn = dlsym(handle, name);
    if (!fn) {
        fprintf(stderr, "orthon_words: no export %s\n", name);
        exit(1);
    }
    return fn;
}

static struct Orthon open_orthon(const char* path, const char16_t* folder)
{
    struct Orthon o;
    o.handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!o.handle) {
        fprintf(stderr, "orthon_words: %s\n", dlerror());
        exit(1);
    }
    o.load = (OrthonLoadSpellCheckFn)bind(o.handle, "LoadSpellCheck");
    o.release = (OrthonReleaseSpellCheckFn)bind(o.handle, "ReleaseSpellCheck");
    o.check = (OrthonCheckWordFn)bind(o.handle, "CheckWord");
    o.find = (OrthonFindWordFn)bind(o.handle, "FindWord");
    o.get = (OrthonGetWordFn)bind(o.handle, "GetWord");
    o.add = (OrthonAddWordFn)bind(o.handle, "AddWord");
    expect(o.load(folder) == 1, "LoadSpellCheck did not answer 1");
    return o;
}

static void close_orthon(struct Orthon* o, const char* path)
{
    o->release();
    expect(dlclose(o->handle) == 0, "dlclose failed");
    /* Unloaded for real, so the user dictionary was written. */
    expect(dlopen(path, RTLD_NOW | RTLD_NOLOAD) == NULL, "the library stayed loaded");
}

/* UTF-8 (ASCII here) to a 0-terminated UTF-16 string. */
static char16_t* u16(const char* s)
{
    size_t n = 0;
    while (s[n]) ++n;
    char16_t* out = malloc((n + 1) * sizeof *out);
    for (size_t i = 0; i <= n; ++i) out[i] = (unsigned char)s[i];
    return out;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: orthon_words LIBRARY DICTIONARY-FOLDER\n");
        return 2;
    }
    char16_t* folder = u16(argv[2]);
    char16_t* receive = u16("receive");
    char16_t* misspelt = u16("recieve");
    char16_t* added = u16("quilnish");

    struct Orthon o = open_orthon(argv[1], folder);
    expect(o.check(receive) != 0, "\"receive\" is not a word");
    expect(o.check(misspelt) == 0, "\"recieve\" is a word");
    int count = o.find(misspelt);
    int suggested = 0;
    for (int i = 0; i < count; ++i) {
        char16_t buffer[kOrthonSuggestionBufferUnits] = {0};
        if (o.get(i, buffer)) {
            char16_t* want = receive;
            int k = 0;
            while (want[k] && buffer[k] == want[k]) ++k;
            if (!want[k] && !buffer[k]) suggested = 1;
        }
    }
    expect(suggested, "\"receive\" is not among the suggestions for \"recieve\"");
    expect(o.check(added) == 0, "\"quilnish\" is a word before it was added");
    o.add(added);
    expect(o.check(added) != 0, "\"quilnish\" is not a word once added");
    close_orthon(&o, argv[1]);

    o = open_orthon(argv[1], folder);
    expect(o.check(added) != 0, "\"quilnish\" was lost when the library was unloaded");
    close_orthon(&o, argv[1]);

    free(folder);
    free(receive);
    free(misspelt);
    free(added);
    if (failures == 0) printf("orthon_words: ok\n");
    return failures ? 1 : 0;
}
