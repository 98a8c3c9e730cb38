// A 64-bit FNV-1a hash of what a replay did: each physics event with its slot and ball step,
// where each putt ended, and each rest the ball lay in. Values go in as their exact bytes
// (little-endian on the machines we build for), so one changed bit of one double changes it.
#pragma once

#include <cstdint>
#include <cstring>

#include "physics/putt_play.h"

class ReplayHash {
public:
    void add_bytes(const void* data, size_t size)
    {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (size_t k = 0; k < size; ++k) {
            hash_ ^= bytes[k];
            hash_ *= 0x100000001b3ull;  // the FNV 64-bit prime
        }
    }
    template <typename T>
    void add(T value)
    {
        unsigned char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        add_bytes(bytes, sizeof bytes);
    }

    // A tag byte before each record keeps records of different kinds from running together.
    void add_event(int event, int slot, long step)
    {
        add<std::uint8_t>('E');
        add<std::int32_t>(event);
        add<std::int32_t>(slot);
        add<std::int64_t>(step);
    }
    void add_putt_end(const PuttResult& r)
    {
        add<std::uint8_t>('P');
        add<std::uint8_t>(r.holed);
        add<std::uint8_t>(r.rested);
        add<std::int64_t>(r.steps);
        for (double v : r.position) add<double>(v);
        add<std::int32_t>(r.strokes);
    }
    void add_rest(const BallRest& rest)
    {
        add<std::uint8_t>('R');
        for (double v : rest.position) add<double>(v);
        add<std::int32_t>(rest.oscillationFrame);
        add<std::int32_t>(rest.strokes);
        for (float v : rest.lastRest) add<float>(v);
    }

    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;  // the FNV 64-bit offset basis
};
