// Expansion by libmspack, the independent decoder the tests hold ours against.
#pragma once

#include <mspack.h>

#include "test_util.h"

namespace szdd::test {

// What libmspack makes of an SZDD file.
struct MspackResult {
    int error = MSPACK_ERR_OK;
    int format = -1;
    long long length = -1;
    int lastChar = -1;
    Bytes data;
};

// Expands packed with libmspack (which works on files, so it goes through a temp folder).
inline MspackResult MspackExpand(const Bytes& packed) {
    TempDir dir;
    const std::string in = dir.File("packed.bi_"), out = dir.File("expanded.bin");
    WriteBytes(in, packed);
    MspackResult r;
    msszdd_decompressor* d = mspack_create_szdd_decompressor(nullptr);
    if (d == nullptr) {
        r.error = MSPACK_ERR_NOMEMORY;
        return r;
    }
    if (msszddd_header* h = d->open(d, in.c_str())) {
        r.format = h->format;
        r.length = h->length;
        r.lastChar = uint8_t(h->missing_char);
        r.error = d->extract(d, h, out.c_str());
        d->close(d, h);
    } else {
        r.error = d->last_error(d);
    }
    mspack_destroy_szdd_decompressor(d);
    r.data = ReadBytes(out);
    return r;
}

}  // namespace szdd::test
