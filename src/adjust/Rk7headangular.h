#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TPDLLFunction;
class TPFactory;

// The head angular adjustment: the tilt of the printhead, a signed value set
// with the head angular packet and read back from 0x75. Its only state is
// the error item that names a refused value (result ResultHeadAngularError).
class TPHeadAngular {
  public:
    // Error item of a value outside the range or a text that is no number.
    static constexpr int16_t ErrorValue = 1;

    static constexpr int kMinimum = -3;
    static constexpr int kMaximum = 3;

    TPHeadAngular(TPDLLFunction& link, TPFactory& factory);

    // Converts the text (a text that is no number counts as 100) and checks
    // it against -3..3; a refused value sets the error item and returns
    // ResultHeadAngularError with nothing sent. Otherwise sends the value
    // packet with the value's low byte, then the store packet.
    uint16_t WriteHeadAngularValue(std::string_view text);
    // The check of WriteHeadAngularValue alone: 1 with the value, or
    // ResultHeadAngularError with the error item set.
    uint16_t CheckHeadAngularValue(std::string_view text, int& value);
    // Reads 0x75 and gives it as signed decimal text, whatever it holds. The
    // text is left alone when the read fails.
    uint16_t ReadHeadAngularValue(std::string& text);

    int16_t ErrorItem() const { return errorItem_; }

  private:
    TPDLLFunction& link_;
    TPFactory& factory_;
    int16_t errorItem_ = 0;
};
