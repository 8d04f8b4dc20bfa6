// The precision the x87 unit rounds its results to, for one scope.
//
// Our own code does its double arithmetic in SSE2 registers in both builds,
// but the 32-bit C++ library was compiled for the x87: std::from_chars, for
// one, multiplies a decimal's digits by a power of ten there. At 64-bit
// precision (MinGW programs start so, and a host sets what it likes) such a
// product is rounded twice, to 64 bits and then to double, and can end one
// unit in the last place away from the correctly rounded value that SSE2
// arithmetic, and so the 64-bit build, gives. At 53 bits it is rounded once.
// Windows-free; nothing happens on processors without an x87 unit.
#pragma once

namespace kavrel {

class X87Precision {
  public:
    // The precision control field of the x87 control word.
    enum Bits : unsigned short { k53 = 0x200, k64 = 0x300 };

    explicit X87Precision(Bits bits) {
#if defined(__i386__) || defined(__x86_64__)
        __asm__ volatile("fnstcw %0" : "=m"(saved_));
        const unsigned short wanted = static_cast<unsigned short>((saved_ & ~0x300u) | bits);
        __asm__ volatile("fldcw %0" : : "m"(wanted) : "memory");
#else
        static_cast<void>(bits);
#endif
    }
    ~X87Precision() {
#if defined(__i386__) || defined(__x86_64__)
        __asm__ volatile("fldcw %0" : : "m"(saved_) : "memory");
#endif
    }
    X87Precision(const X87Precision&) = delete;
    X87Precision& operator=(const X87Precision&) = delete;

  private:
    unsigned short saved_ = 0;
};

}  // namespace kavrel
