#pragma once
// Identities of classes and message types: a name and a positive int32 hashed
// from it. Identities key handler tables, typed messages and object factories,
// and are the same in every run and on every machine, so peers and stored
// files may rely on them.

#include "engine/files/WideString.h"

#include <cstdint>

// CRC-32 (MSB-first, polynomial 0x04C11DB7, no reflection, no final XOR) of the
// name's bytes from the given seed, XOR the byte count.
uint32_t Crc32XorLength(uint32_t seed, const void* bytes, int32_t count);

// Crc32XorLength from seed 0, retried with seeds 1, 2, ... until positive.
int32_t HashClassName(const char* name);

// Message types that never cross the network (see DC_LOCAL_MESSAGE): their
// payloads hold pointers, or they stand for events only this machine may
// raise. Every such type enters itself during start-up construction, so the
// set is whole before any frame arrives. Register returns true, so that it
// can initialise the static member through which a type enters itself.
bool RegisterLocalOnlyMessage(int32_t identity);
bool IsLocalOnlyMessage(int32_t identity);

class ClassIdentity {
public:
    explicit ClassIdentity(const char* literal);

    const WideString& Name() const { return name_; }
    int32_t Id() const { return id_; }

private:
    WideString name_;
    int32_t id_;
};

// Declares the identity record of a class or message type inside its body.
#define DC_IDENTITY(Class)                                   \
    static const ClassIdentity& Identity()                   \
    {                                                        \
        static const ClassIdentity record(#Class);           \
        return record;                                       \
    }
