#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "platform/Clock.h"

class TPDLLFunction;
class TPStatusControl;

// The command packets ESC '|' that set adjustment values and start the
// maintenance sequences. Each operation builds its packet in the one packet
// buffer and sends it, again every 500 ms while the printer answers busy.
//
// Every value packet and store the printer was handed goes to the link's
// service log with its result (the maintenance sequences do not: they set no
// value; one the printer started is among the link's accepted writes). While
// a pattern print sets its test values (PatternValues), a Bi-D value is
// recorded as "bid-test" and a PF value not at all: the printer writes a Bi-D
// value to its EEPROM at once, but holds a PF value only until a store, which
// a pattern never sends. Inside a whole print (TPDLLFunction::PatternPrint)
// the Bi-D test values are only counted in the print's one record.
class TPFactory {
  public:
    static constexpr int kPacketSize = 14;

    TPFactory(TPDLLFunction& link, TPStatusControl& status, orvane::IClock& clock);

    // mode is one of the four dot-size modes, value a signed byte; anything
    // else gives ResultCommandError and sends nothing.
    uint16_t SendBidValue(uint8_t colourSelector, uint8_t mode, int value);
    uint16_t SendHeadAngularValue(uint8_t value);
    uint16_t StartMaintenanceSequence(uint8_t sequence);
    uint16_t SendStoreCommand();
    uint16_t SendPfValue(uint8_t blackFlag, uint8_t value);
    uint16_t SendTopMarginValue(uint8_t value);
    // -127..127; outside gives ResultCommandError and sends nothing.
    uint16_t SendFirstDotValue(int value);

    // Sends count bytes of a packet; while the printer answers busy (and is
    // not in its error state) sends the same bytes again every 500 ms, until
    // the clock ends waits (ResultInterrupted, the packet not taken).
    uint16_t SendPacket(const uint8_t* bytes, int count);

    // Marks the value packets sent while it lives as a pattern print's test
    // values.
    class PatternValues {
      public:
        explicit PatternValues(TPFactory& factory) : factory_(factory) {
            factory_.patternValues_ = true;
        }
        ~PatternValues() { factory_.patternValues_ = false; }
        PatternValues(const PatternValues&) = delete;
        PatternValues& operator=(const PatternValues&) = delete;

      private:
        TPFactory& factory_;
    };

    // Maintenance sequence codes.
    static constexpr uint8_t SequenceCleaning = 2;
    static constexpr uint8_t SequenceInkCharge = 7;

  private:
    // Writes the packet head, the command, its complement, the function code
    // and the parameters around the code bytes; returns the packet's length.
    int Build(uint8_t command, uint8_t function, std::initializer_list<uint8_t> parameters);

    TPDLLFunction& link_;
    TPStatusControl& status_;
    orvane::IClock& clock_;
    std::array<uint8_t, kPacketSize> packet_{};
    bool patternValues_ = false;
};
