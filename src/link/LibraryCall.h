#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

// How the link object calls a function of the port or channel library.
//
// The libraries' contract names the functions and their arguments, not who
// clears the arguments from the stack. On 32-bit x86 that is the one thing
// the two usual conventions disagree on: a stdcall function clears its own
// arguments, a cdecl function leaves them to the caller. There every call
// goes through a small thunk (LibraryCallI686.cpp) that keeps the stack
// pointer in a register the callee must preserve and puts it back after the
// call, so that either kind of library works. Everywhere else (64-bit
// Windows, Linux) there is one convention and the call is a plain call.
//
// This is a calling primitive of the link object, not a call into the
// system: it lives in src/link beside its one user.
namespace orvane::link {

#if defined(__i386__)
inline constexpr bool kCallRestoresStack = true;
#else
inline constexpr bool kCallRestoresStack = false;
#endif

// The thunk of the 32-bit x86 build: calls function with count 32-bit words
// as its arguments, words[0] first (lowest on the stack), and returns EAX.
// The stack pointer after the call is the one before it, whether the
// function cleared its arguments or not. Defined only in that build.
extern "C" uint32_t OrvaneCallRestoringStack(const void* function, const uint32_t* words,
                                             uint32_t count) __asm__("orvane_call_restoring_stack");

// One argument as a 32-bit x86 caller passes it: a word of its own,
// integers widened (signed ones with their sign), pointers as their address.
template <typename T>
uint32_t StackWord(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
    } else {
        static_assert(std::is_integral_v<T> && sizeof(T) <= sizeof(uint32_t),
                      "the libraries take integers of at most 32 bits and pointers");
        return static_cast<uint32_t>(value);
    }
}

template <typename Signature>
struct LibraryCall;

// Calls function, the address of a library function of type
// uint16_t(Params...), with args.
template <typename... Params>
struct LibraryCall<uint16_t(Params...)> {
    static uint16_t Call(void* function, Params... args) {
        if constexpr (kCallRestoresStack) {
            // One word more than needed: a function without arguments still
            // gets an array.
            const uint32_t words[sizeof...(Params) + 1] = {StackWord(args)..., 0};
            return static_cast<uint16_t>(
                OrvaneCallRestoringStack(function, words, sizeof...(Params)));
        } else {
            uint16_t (*typed)(Params...) = nullptr;
            static_assert(sizeof(typed) == sizeof(function));
            std::memcpy(&typed, &function, sizeof(typed));
            return typed(args...);
        }
    }
};

}  // namespace orvane::link
