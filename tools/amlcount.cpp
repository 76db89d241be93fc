// amlcount: one expat pass over an AML file that only counts elements and object definitions.
// It is the least any reader of the format pays for a file, the floor the benchmark compares
// the program's load and export times with.
//
//   amlcount FILE.xml      prints "elements=N objdefs=M"
#include <expat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct Counts {
    unsigned long long elements = 0;
    unsigned long long objDefs = 0;
};

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char**) {
    auto* c = static_cast<Counts*>(data);
    ++c->elements;
    if (std::strcmp(name, "ObjDef") == 0) ++c->objDefs;
}

// External entities (the ARIS-Export.dtd) are never loaded; saying so lets expat go on.
int XMLCALL SkipExternal(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
    return XML_STATUS_OK;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: amlcount FILE.xml\n");
        return 64;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) {
        std::fprintf(stderr, "amlcount: cannot open %s: %s\n", argv[1], std::strerror(errno));
        return 66;
    }
    XML_Parser parser = XML_ParserCreate(nullptr);
    Counts counts;
    XML_SetUserData(parser, &counts);
    XML_SetStartElementHandler(parser, OnStart);
    XML_SetExternalEntityRefHandler(parser, SkipExternal);
    const int kChunk = 1 << 20;
    int status = 0;
    for (;;) {
        void* buf = XML_GetBuffer(parser, kChunk);
        if (!buf) {
            std::fprintf(stderr, "amlcount: out of memory\n");
            status = 70;
            break;
        }
        std::size_t got = std::fread(buf, 1, kChunk, in);
        bool last = got < static_cast<std::size_t>(kChunk);
        if (std::ferror(in)) {
            std::fprintf(stderr, "amlcount: cannot read %s\n", argv[1]);
            status = 74;
            break;
        }
        if (XML_ParseBuffer(parser, static_cast<int>(got), last) == XML_STATUS_ERROR) {
            std::fprintf(stderr, "amlcount: %s:%lu:%lu: %s\n", argv[1], XML_GetCurrentLineNumber(parser),
                         XML_GetCurrentColumnNumber(parser), XML_ErrorString(XML_GetErrorCode(parser)));
            status = 65;
            break;
        }
        if (last) break;
    }
    XML_ParserFree(parser);
    std::fclose(in);
    if (status == 0) std::printf("elements=%llu objdefs=%llu\n", counts.elements, counts.objDefs);
    return status;
}
