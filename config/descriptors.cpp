#include "config/descriptors.h"

TDF::TDF(const AnsiString& name, int32_t size, int32_t code, int32_t acode)
    : Name(platform::Cp1251ToUtf16(name)), Size(size), Code(code), ACode(acode) {}

TDD::TDD(const AnsiString& name, int32_t codec, const AnsiString& ident)
    : Name(name), Codec(codec), Ident(ident) {}

TDF* TDD::Add(const AnsiString& name, int32_t size, int32_t code, int32_t acode) {
    return Add(new TDF(name, size, code, acode));
}

TDD* TDL::Add(const AnsiString& name, int32_t codec, const AnsiString& ident) {
    return Add(new TDD(name, codec, ident));
}
