#include "text/ByteScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ByteScan {
namespace {

#if defined(__SSE2__)
// The sum of the sixteen byte counters.
qsizetype sum(__m128i counters)
{
    const __m128i pairs = _mm_sad_epu8(counters, _mm_setzero_si128());
    return qsizetype(_mm_cvtsi128_si64(pairs)) + qsizetype(_mm_cvtsi128_si64(_mm_unpackhi_epi64(pairs, pairs)));
}
#endif

}

Counts scan(const char* text, qsizetype size, qsizetype from, qsizetype to)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    Counts c;
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i crs = _mm_set1_epi8('\r');
    const __m128i lfs = _mm_set1_epi8('\n');
    // As signed bytes, 0x80 to 0xBF are the ones below -64.
    const __m128i continuationBelow = _mm_set1_epi8(-64);
    // Byte counters, each lane one per step at most, summed before they
    // could overflow. The bytes after each step's are read too (for the LF
    // of a pair), so the steps stop a byte before the text's end.
    while (i + 16 <= to && i + 16 < size) {
        __m128i cr = _mm_setzero_si128();
        __m128i lf = _mm_setzero_si128();
        __m128i crLf = _mm_setzero_si128();
        __m128i continuation = _mm_setzero_si128();
        for (int step = 0; step < 255 && i + 16 <= to && i + 16 < size; ++step, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
            const __m128i isCr = _mm_cmpeq_epi8(v, crs);
            cr = _mm_sub_epi8(cr, isCr);
            lf = _mm_sub_epi8(lf, _mm_cmpeq_epi8(v, lfs));
            crLf = _mm_sub_epi8(crLf, _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lfs)));
            continuation = _mm_sub_epi8(continuation, _mm_cmplt_epi8(v, continuationBelow));
        }
        c.cr += sum(cr);
        c.lf += sum(lf);
        c.crLf += sum(crLf);
        c.continuation += sum(continuation);
    }
#endif
    for (; i < to; ++i) {
        const unsigned char b = p[i];
        c.cr += b == '\r';
        c.lf += b == '\n';
        c.crLf += b == '\r' && i + 1 < size && p[i + 1] == '\n';
        c.continuation += (b & 0xC0) == 0x80;
    }
    return c;
}

}
