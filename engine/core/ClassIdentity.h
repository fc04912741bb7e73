#pragma once
// Identities of classes and message types: a name and a positive int32 hashed
// from it. Identities key handler tables, typed messages and object factories,
// and are the same in every run and on every machine, so peers and stored
// files may rely on them.
//
// Identity records are computed by the compiler and stored complete in the
// program's data: they exist before any start-up constructor runs, whatever
// the order in which the files' statics are built, and need nothing at exit.

#include "engine/core/IdentityRoster.h"
#include "engine/files/WideString.h"

#include <array>
#include <cstdint>

namespace class_identity_detail {

constexpr uint32_t kCrcPolynomial = 0x04C11DB7u;

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) ? (crc << 1) ^ kCrcPolynomial : crc << 1;
        }
        table[i] = crc;
    }
    return table;
}

inline constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

constexpr uint32_t CrcOfBytes(uint32_t seed, const char* bytes, int32_t count)
{
    uint32_t crc = seed;
    for (int32_t i = 0; i < count; ++i) {
        crc = (crc << 8) ^ kCrcTable[static_cast<uint8_t>(bytes[i]) ^ (crc >> 24)];
    }
    return crc ^ static_cast<uint32_t>(count);
}

constexpr int32_t LengthOf(const char* text)
{
    int32_t length = 0;
    while (text[length] != '\0') {
        ++length;
    }
    return length;
}

} // namespace class_identity_detail

// CRC-32 (MSB-first, polynomial 0x04C11DB7, no reflection, no final XOR) of the
// bytes from the given seed, XOR the byte count.
uint32_t Crc32XorLength(uint32_t seed, const void* bytes, int32_t count);

// Crc32XorLength of the name from seed 0, retried with seeds 1, 2, ... until
// positive.
constexpr int32_t HashClassName(const char* name)
{
    const int32_t length = class_identity_detail::LengthOf(name);
    for (uint32_t seed = 0;; ++seed) {
        const auto result = static_cast<int32_t>(class_identity_detail::CrcOfBytes(seed, name, length));
        if (result > 0) {
            return result;
        }
    }
}

// Message types that never cross the network (see DC_LOCAL_MESSAGE): their
// payloads hold pointers, or they stand for events only this machine may
// raise. Every such type enters itself during start-up construction, so the
// set is whole before any frame arrives. Register returns true, so that it
// can initialise the static member through which a type enters itself.
bool RegisterLocalOnlyMessage(int32_t identity);
bool IsLocalOnlyMessage(int32_t identity);

class ClassIdentity {
public:
    // The record of the class called name, carrying the identity of the class
    // called hashedName: its own name, or the class it stands for.
    constexpr ClassIdentity(const wchar_t* name, const char* hashedName)
        : name_(name)
        , id_(HashClassName(hashedName))
    {
    }

    WideString Name() const { return name_; }
    constexpr int32_t Id() const { return id_; }

private:
    const wchar_t* name_;
    int32_t id_;
};

// Declares the identity record of a class or message type inside its body.
#define DC_IDENTITY(Class) DC_BORROWED_IDENTITY(Class, Class)

// The record of a class that reports its own name but carries the identity of
// another: lookups by identity (handler tables, factories, stored files) take
// it for the class it borrows from. Editor nodes carry the identity of the
// runtime node they save, so the runtime reads them back as its own. Only the
// roster lends identities, and a record that differs from it is refused.
#define DC_BORROWED_IDENTITY(Class, Owner)                                                    \
    static_assert(RosterIdentityOf(#Class) == std::string_view(#Owner),                       \
                  #Class " must carry the identity the roster gives it");                     \
    static const ClassIdentity& Identity()                                                    \
    {                                                                                         \
        static constexpr ClassIdentity record(L"" #Class, #Owner);                            \
        return record;                                                                        \
    }
