// The call seam of the link object: what a library function receives and
// what comes back, and the words the 32-bit thunk is handed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "link/LibraryCall.h"

namespace {

using orvane::link::LibraryCall;
using orvane::link::StackWord;

uint32_t calledLength = 0;
const uint8_t* calledData = nullptr;
void* calledContext = nullptr;

uint16_t SendLike(const uint8_t* data, uint32_t length, void* context) {
    calledData = data;
    calledLength = length;
    calledContext = context;
    return static_cast<uint16_t>(length * 2);
}

uint16_t PairLike(uint8_t a, uint8_t b) {
    return static_cast<uint16_t>(a << 8 | b);
}

uint16_t NoArguments() {
    return 0xB000;
}

template <typename Function>
void* FunctionAddress(Function* function) {
    void* address = nullptr;
    static_assert(sizeof(address) == sizeof(function));
    std::memcpy(&address, &function, sizeof(address));
    return address;
}

TEST(LibraryCall, PassesEachArgumentInItsPlaceAndReturnsTheSixteenBitResult) {
    const uint8_t data[] = {1, 2, 3};
    int context = 0;
    EXPECT_EQ(LibraryCall<uint16_t(const uint8_t*, uint32_t, void*)>::Call(
                  FunctionAddress(&SendLike), data, 0x7FFF, &context),
              0xFFFE);
    EXPECT_EQ(calledData, data);
    EXPECT_EQ(calledLength, 0x7FFFu);
    EXPECT_EQ(calledContext, &context);
    EXPECT_EQ((LibraryCall<uint16_t(uint8_t, uint8_t)>::Call(FunctionAddress(&PairLike), 11, 84)),
              11 << 8 | 84);
    EXPECT_EQ(LibraryCall<uint16_t()>::Call(FunctionAddress(&NoArguments)), 0xB000);
}

// The 32-bit caller's words: unsigned integers zero-extended, signed ones
// with their sign, pointers as their address.
TEST(LibraryCall, WidensEachArgumentToTheWordA32BitCallerPushes) {
    EXPECT_EQ(StackWord(uint8_t{0xFF}), 0x000000FFu);
    EXPECT_EQ(StackWord(uint16_t{0x8001}), 0x00008001u);
    EXPECT_EQ(StackWord(int16_t{-2}), 0xFFFFFFFEu);
    EXPECT_EQ(StackWord(uint32_t{0x80000000}), 0x80000000u);
    int16_t code = 0;
    EXPECT_EQ(StackWord(&code), static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&code)));
    EXPECT_EQ(StackWord(static_cast<void*>(nullptr)), 0u);
}

}  // namespace
