// Encoder: a faithful port of the ar002 encoder (sliding dictionary with a hash-linked search tree
// and percolating position updates, lazy parsing, 16 KiB block buffer, Huffman code lengths limited
// to 16 bits, canonical codes), so that the compressed bytes are the ones the format's writers
// produce. Decoder: table-driven, checking every table it reads.
#include "streams/lzh.h"

#include "streams/corrupt_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace streams {

namespace {

constexpr int DICBIT = 13;
constexpr int DICSIZ = 1 << DICBIT; // 8192
constexpr int MAXMATCH = 256;
constexpr int THRESHOLD = 3;
constexpr int UCHAR_MAX_ = 255;
constexpr int NC = UCHAR_MAX_ + MAXMATCH + 2 - THRESHOLD; // 510
constexpr int NP = DICBIT + 1;                            // 14
constexpr int NT = 16 + 3;                                // 19
constexpr int CBIT = 9;
constexpr int TBIT = 5;
constexpr int PBIT = 4;
constexpr int NPT = NT > NP ? NT : NP;
constexpr int BUFSIZ_ = 16 * 1024;
// Hash heads for the children of each node live in next[] after the 2 * DICSIZ node numbers.
constexpr int HASH_BITS = 16;
constexpr int MAX_HASH_VAL = DICSIZ * 2 + (1 << HASH_BITS) - 1;
constexpr int NIL = 0;
constexpr std::uint16_t PERC_FLAG = 0x8000;

[[noreturn]] void corrupt() {
    throw CorruptFile(kCorruptCompressedMessage);
}

// ---------------------------------------------------------------------------------------------
// Encoder

class Encoder {
public:
    Encoder(const std::uint8_t* input, qint64 size, QByteArray& out)
        : in_(input), inSize_(size), out_(out) {}

    void encode();

private:
    // Input
    int readInput(int offset, int count) {
        const qint64 n = std::min<qint64>(count, inSize_ - inPos_);
        if (n > 0) {
            std::memcpy(&text_[offset], in_ + inPos_, n);
            inPos_ += n;
        }
        return static_cast<int>(std::max<qint64>(0, n));
    }

    // Sliding dictionary
    void initSlide();
    // Bucket of the child of node p whose edge starts with byte c. child() trusts the first
    // node of that bucket's chain whose parent is p, so the bucket must be one-to-one in c for a
    // given p (the xor of c is). Scattering p keeps chains short, while the children of one node
    // stay within 256 neighbouring buckets, that is within a few cache lines.
    static int hash(int p, int c) {
        return DICSIZ * 2 +
               int(((std::uint32_t(p) * 0x9E3779B1U) >> (32 - HASH_BITS)) ^ unsigned(c));
    }
    int child(int q, int c);
    void makechild(int q, int c, int r);
    void split(int old);
    void insertNode();
    void deleteNode();
    void getNextMatch();

    // Huffman
    void output(unsigned c, unsigned p);
    void sendBlock();
    void countTFreq();
    void writePtLen(int n, int nbit, int iSpecial);
    void writeCLen();
    void encodeC(int c) { putbits(cLen_[c], cCode_[c]); }
    void encodeP(unsigned p);
    int makeTree(int nparm, std::uint16_t* freqparm, std::uint8_t* lenparm,
                 std::uint16_t* codeparm);
    void downheap(int i);
    void countLen(int i, int depth);
    void makeLen(int root);
    void makeCode(int n, const std::uint8_t* len, std::uint16_t* code);
    void putbits(int n, unsigned x);

    const std::uint8_t* in_;
    qint64 inSize_;
    qint64 inPos_ = 0;
    QByteArray& out_;

    // Fixed-size tables inside the (heap-allocated) encoder: no pointer to reload after each
    // byte store. The window starts as zeros, so bytes past the end of the input are defined.
    std::uint8_t text_[DICSIZ * 2 + MAXMATCH] = {};
    std::uint8_t level_[DICSIZ + UCHAR_MAX_ + 1] = {};
    std::uint8_t childcount_[DICSIZ + UCHAR_MAX_ + 1] = {};
    std::uint16_t position_[DICSIZ + UCHAR_MAX_ + 1] = {};
    // Node numbers go up to MAX_HASH_VAL, past 16 bits.
    std::int32_t parent_[DICSIZ * 2] = {};
    std::int32_t prev_[DICSIZ * 2] = {};
    std::int32_t next_[MAX_HASH_VAL + 1] = {};
    std::int32_t& par(int i) { return parent_[i]; }
    std::int32_t& nxt(int i) { return next_[i]; }
    std::int32_t& prv(int i) { return prev_[i]; }
    std::uint16_t& posn(int i) { return position_[i]; }
    std::uint8_t& lvl(int i) { return level_[i]; }
    std::uint8_t& ccount(int i) { return childcount_[i]; }
    int pos_ = 0, matchpos_ = 0, avail_ = 0;
    int remainder_ = 0, matchlen_ = 0;

    std::uint8_t buf_[BUFSIZ_] = {};
    unsigned outputPos_ = 0, outputMask_ = 0, cpos_ = 0;
    std::uint16_t left_[2 * NC - 1] = {}, right_[2 * NC - 1] = {};
    std::uint8_t cLen_[NC] = {}, ptLen_[NPT] = {};
    std::uint16_t cFreq_[2 * NC - 1] = {}, cCode_[NC] = {}, pFreq_[2 * NP - 1] = {},
                                  ptCode_[NPT] = {}, tFreq_[2 * NT - 1] = {};

    // make_tree working state
    int n_ = 0, heapsize_ = 0;
    int heap_[NC + 1] = {};
    std::uint16_t* freq_ = nullptr;
    std::uint8_t* len_ = nullptr;
    std::uint16_t lenCnt_[17] = {};
    std::uint16_t sortOrder_[NC] = {};
    int sortCount_ = 0;

    unsigned subbitbuf_ = 0;
    int bitcount_ = 8;
};

void Encoder::initSlide() {
    for (int i = DICSIZ; i <= DICSIZ + UCHAR_MAX_; i++) {
        lvl(i) = 1;
        posn(i) = NIL;
    }
    for (int i = DICSIZ; i < DICSIZ * 2; i++)
        par(i) = NIL;
    avail_ = 1;
    for (int i = 1; i < DICSIZ - 1; i++)
        nxt(i) = i + 1;
    nxt(DICSIZ - 1) = NIL;
    for (int i = DICSIZ * 2; i <= MAX_HASH_VAL; i++)
        nxt(i) = NIL;
}

int Encoder::child(int q, int c) {
    int r = nxt(hash(q, c));
    par(NIL) = q; // sentinel
    while (par(r) != q)
        r = nxt(r);
    return r;
}

void Encoder::makechild(int q, int c, int r) {
    const int h = hash(q, c);
    const int t = nxt(h);
    nxt(h) = r;
    nxt(r) = t;
    prv(t) = r;
    prv(r) = h;
    par(r) = q;
    ccount(q)++;
}

void Encoder::split(int old) {
    const int nw = avail_;
    avail_ = nxt(nw);
    ccount(nw) = 0;
    int t = prv(old);
    prv(nw) = t;
    nxt(t) = nw;
    t = nxt(old);
    nxt(nw) = t;
    prv(t) = nw;
    par(nw) = par(old);
    lvl(nw) = static_cast<std::uint8_t>(matchlen_);
    posn(nw) = static_cast<std::uint16_t>(pos_);
    makechild(nw, text_[matchpos_ + matchlen_], old);
    makechild(nw, text_[pos_ + matchlen_], pos_);
}

void Encoder::insertNode() {
    int q, r, j, t;
    if (matchlen_ >= 4) {
        matchlen_--;
        r = (matchpos_ + 1) | DICSIZ;
        while ((q = par(r)) == NIL)
            r = nxt(r);
        while (lvl(q) >= matchlen_) {
            r = q;
            q = par(q);
        }
        t = q;
        while (posn(t) & PERC_FLAG) {
            posn(t) = static_cast<std::uint16_t>(pos_);
            t = par(t);
        }
        if (t < DICSIZ)
            posn(t) = static_cast<std::uint16_t>(pos_ | PERC_FLAG);
    } else {
        q = text_[pos_] + DICSIZ;
        const int c = text_[pos_ + 1];
        if ((r = child(q, c)) == NIL) {
            makechild(q, c, pos_);
            matchlen_ = 1;
            return;
        }
        matchlen_ = 2;
    }
    for (;;) {
        if (r >= DICSIZ) {
            j = MAXMATCH;
            matchpos_ = r;
        } else {
            j = lvl(r);
            matchpos_ = posn(r) & ~PERC_FLAG;
        }
        if (matchpos_ >= pos_)
            matchpos_ -= DICSIZ;
        const std::uint8_t* t1 = &text_[pos_ + matchlen_];
        const std::uint8_t* t2 = &text_[matchpos_ + matchlen_];
        while (matchlen_ < j) {
            if (*t1 != *t2) {
                split(r);
                return;
            }
            matchlen_++;
            t1++;
            t2++;
        }
        if (matchlen_ >= MAXMATCH)
            break;
        posn(r) = static_cast<std::uint16_t>(pos_);
        q = r;
        if ((r = child(q, *t1)) == NIL) {
            makechild(q, *t1, pos_);
            return;
        }
        matchlen_++;
    }
    t = prv(r);
    prv(pos_) = t;
    nxt(t) = pos_;
    t = nxt(r);
    nxt(pos_) = t;
    prv(t) = pos_;
    par(pos_) = q;
    par(r) = NIL;
    nxt(r) = pos_; // special use of next[]: the replaced leaf points at its successor
}

void Encoder::deleteNode() {
    if (par(pos_) == NIL)
        return;
    int r = prv(pos_);
    int s = nxt(pos_);
    nxt(r) = s;
    prv(s) = r;
    r = par(pos_);
    par(pos_) = NIL;
    if (r >= DICSIZ || --ccount(r) > 1)
        return;
    int t = posn(r) & ~PERC_FLAG;
    if (t >= pos_)
        t -= DICSIZ;
    s = t;
    int q = par(r);
    int u;
    while ((u = posn(q)) & PERC_FLAG) {
        u &= ~PERC_FLAG;
        if (u >= pos_)
            u -= DICSIZ;
        if (u > s)
            s = u;
        posn(q) = static_cast<std::uint16_t>(s | DICSIZ);
        q = par(q);
    }
    if (q < DICSIZ) {
        if (u >= pos_)
            u -= DICSIZ;
        if (u > s)
            s = u;
        posn(q) = static_cast<std::uint16_t>(s | DICSIZ | PERC_FLAG);
    }
    s = child(r, text_[t + lvl(r)]);
    t = prv(s);
    u = nxt(s);
    nxt(t) = u;
    prv(u) = t;
    t = prv(r);
    nxt(t) = s;
    prv(s) = t;
    t = nxt(r);
    prv(t) = s;
    nxt(s) = t;
    par(s) = par(r);
    par(r) = NIL;
    nxt(r) = avail_;
    avail_ = r;
}

void Encoder::getNextMatch() {
    remainder_--;
    if (++pos_ == DICSIZ * 2) {
        std::memmove(&text_[0], &text_[DICSIZ], DICSIZ + MAXMATCH);
        remainder_ += readInput(DICSIZ + MAXMATCH, DICSIZ);
        pos_ = DICSIZ;
    }
    deleteNode();
    insertNode();
}

void Encoder::putbits(int n, unsigned x) {
    if (n < bitcount_) {
        subbitbuf_ |= x << (bitcount_ -= n);
    } else {
        out_.append(static_cast<char>(subbitbuf_ | (x >> (n -= bitcount_))));
        if (n < 8) {
            subbitbuf_ = x << (bitcount_ = 8 - n);
        } else {
            out_.append(static_cast<char>(x >> (n - 8)));
            subbitbuf_ = x << (bitcount_ = 16 - n);
        }
    }
}

void Encoder::downheap(int i) {
    const int k = heap_[i];
    int j;
    while ((j = 2 * i) <= heapsize_) {
        if (j < heapsize_ && freq_[heap_[j]] > freq_[heap_[j + 1]])
            j++;
        if (freq_[k] <= freq_[heap_[j]])
            break;
        heap_[i] = heap_[j];
        i = j;
    }
    heap_[i] = k;
}

void Encoder::countLen(int i, int depth) {
    if (i < n_) {
        lenCnt_[depth < 16 ? depth : 16]++;
    } else {
        countLen(left_[i], depth + 1);
        countLen(right_[i], depth + 1);
    }
}

void Encoder::makeLen(int root) {
    for (auto& c : lenCnt_)
        c = 0;
    countLen(root, 0);
    unsigned cum = 0;
    for (int i = 16; i > 0; i--)
        cum += unsigned(lenCnt_[i]) << (16 - i);
    while (cum != (1U << 16)) {
        lenCnt_[16]--;
        for (int i = 15; i > 0; i--) {
            if (lenCnt_[i] != 0) {
                lenCnt_[i]--;
                lenCnt_[i + 1] += 2;
                break;
            }
        }
        cum--;
    }
    int sp = 0;
    for (int i = 16; i > 0; i--) {
        int k = lenCnt_[i];
        while (--k >= 0)
            len_[sortOrder_[sp++]] = static_cast<std::uint8_t>(i);
    }
}

void Encoder::makeCode(int n, const std::uint8_t* len, std::uint16_t* code) {
    std::uint16_t start[18] = {};
    start[1] = 0;
    for (int i = 1; i <= 16; i++)
        start[i + 1] = static_cast<std::uint16_t>((start[i] + lenCnt_[i]) << 1);
    for (int i = 0; i < n; i++)
        code[i] = len[i] ? start[len[i]]++ : 0;
}

int Encoder::makeTree(int nparm, std::uint16_t* freqparm, std::uint8_t* lenparm,
                      std::uint16_t* codeparm) {
    n_ = nparm;
    freq_ = freqparm;
    len_ = lenparm;
    int avail = n_;
    heapsize_ = 0;
    heap_[1] = 0;
    for (int i = 0; i < n_; i++) {
        len_[i] = 0;
        if (freq_[i])
            heap_[++heapsize_] = i;
    }
    if (heapsize_ < 2) {
        codeparm[heap_[1]] = 0;
        return heap_[1];
    }
    for (int i = heapsize_ / 2; i >= 1; i--)
        downheap(i);
    sortCount_ = 0;
    int k;
    do {
        const int i = heap_[1];
        if (i < n_)
            sortOrder_[sortCount_++] = static_cast<std::uint16_t>(i);
        heap_[1] = heap_[heapsize_--];
        downheap(1);
        const int j = heap_[1];
        if (j < n_)
            sortOrder_[sortCount_++] = static_cast<std::uint16_t>(j);
        k = avail++;
        freq_[k] = static_cast<std::uint16_t>(freq_[i] + freq_[j]);
        heap_[1] = k;
        downheap(1);
        left_[k] = static_cast<std::uint16_t>(i);
        right_[k] = static_cast<std::uint16_t>(j);
    } while (heapsize_ > 1);
    makeLen(k);
    makeCode(nparm, lenparm, codeparm);
    return k;
}

void Encoder::countTFreq() {
    for (int i = 0; i < NT; i++)
        tFreq_[i] = 0;
    int n = NC;
    while (n > 0 && cLen_[n - 1] == 0)
        n--;
    int i = 0;
    while (i < n) {
        const int k = cLen_[i++];
        if (k == 0) {
            int count = 1;
            while (i < n && cLen_[i] == 0) {
                i++;
                count++;
            }
            if (count <= 2)
                tFreq_[0] = static_cast<std::uint16_t>(tFreq_[0] + count);
            else if (count <= 18)
                tFreq_[1]++;
            else if (count == 19) {
                tFreq_[0]++;
                tFreq_[1]++;
            } else
                tFreq_[2]++;
        } else
            tFreq_[k + 2]++;
    }
}

void Encoder::writePtLen(int n, int nbit, int iSpecial) {
    while (n > 0 && ptLen_[n - 1] == 0)
        n--;
    putbits(nbit, n);
    int i = 0;
    while (i < n) {
        const int k = ptLen_[i++];
        if (k <= 6)
            putbits(3, k);
        else
            putbits(k - 3, (1U << (k - 3)) - 2);
        if (i == iSpecial) {
            while (i < 6 && ptLen_[i] == 0)
                i++;
            putbits(2, (i - 3) & 3);
        }
    }
}

void Encoder::writeCLen() {
    int n = NC;
    while (n > 0 && cLen_[n - 1] == 0)
        n--;
    putbits(CBIT, n);
    int i = 0;
    while (i < n) {
        int k = cLen_[i++];
        if (k == 0) {
            int count = 1;
            while (i < n && cLen_[i] == 0) {
                i++;
                count++;
            }
            if (count <= 2) {
                for (k = 0; k < count; k++)
                    putbits(ptLen_[0], ptCode_[0]);
            } else if (count <= 18) {
                putbits(ptLen_[1], ptCode_[1]);
                putbits(4, count - 3);
            } else if (count == 19) {
                putbits(ptLen_[0], ptCode_[0]);
                putbits(ptLen_[1], ptCode_[1]);
                putbits(4, 15);
            } else {
                putbits(ptLen_[2], ptCode_[2]);
                putbits(CBIT, count - 20);
            }
        } else
            putbits(ptLen_[k + 2], ptCode_[k + 2]);
    }
}

void Encoder::encodeP(unsigned p) {
    unsigned c = 0, q = p;
    while (q) {
        q >>= 1;
        c++;
    }
    putbits(ptLen_[c], ptCode_[c]);
    if (c > 1)
        putbits(c - 1, p & (0xFFFFU >> (17 - c)));
}

void Encoder::sendBlock() {
    int root = makeTree(NC, cFreq_, cLen_, cCode_);
    const unsigned size = cFreq_[root];
    putbits(16, size);
    if (root >= NC) {
        countTFreq();
        root = makeTree(NT, tFreq_, ptLen_, ptCode_);
        if (root >= NT) {
            writePtLen(NT, TBIT, 3);
        } else {
            putbits(TBIT, 0);
            putbits(TBIT, root);
        }
        writeCLen();
    } else {
        putbits(TBIT, 0);
        putbits(TBIT, 0);
        putbits(CBIT, 0);
        putbits(CBIT, root);
    }
    root = makeTree(NP, pFreq_, ptLen_, ptCode_);
    if (root >= NP) {
        writePtLen(NP, PBIT, -1);
    } else {
        putbits(PBIT, 0);
        putbits(PBIT, root);
    }
    unsigned pos = 0, flags = 0;
    for (unsigned i = 0; i < size; i++) {
        if (i % 8 == 0)
            flags = buf_[pos++];
        else
            flags <<= 1;
        if (flags & (1U << 7)) {
            encodeC(buf_[pos++] + (1U << 8));
            unsigned k = unsigned(buf_[pos++]) << 8;
            k += buf_[pos++];
            encodeP(k);
        } else
            encodeC(buf_[pos++]);
    }
    for (int i = 0; i < NC; i++)
        cFreq_[i] = 0;
    for (int i = 0; i < NP; i++)
        pFreq_[i] = 0;
}

void Encoder::output(unsigned c, unsigned p) {
    if ((outputMask_ >>= 1) == 0) {
        outputMask_ = 1U << 7;
        if (outputPos_ >= BUFSIZ_ - 3 * 8) {
            sendBlock();
            outputPos_ = 0;
        }
        cpos_ = outputPos_++;
        buf_[cpos_] = 0;
    }
    buf_[outputPos_++] = static_cast<std::uint8_t>(c);
    cFreq_[c]++;
    if (c >= (1U << 8)) {
        buf_[cpos_] |= static_cast<std::uint8_t>(outputMask_);
        buf_[outputPos_++] = static_cast<std::uint8_t>(p >> 8);
        buf_[outputPos_++] = static_cast<std::uint8_t>(p);
        c = 0;
        while (p) {
            p >>= 1;
            c++;
        }
        pFreq_[c]++;
    }
}

void Encoder::encode() {
    initSlide();
    buf_[0] = 0;
    outputPos_ = outputMask_ = 0;
    bitcount_ = 8;
    subbitbuf_ = 0;

    remainder_ = readInput(DICSIZ, DICSIZ + MAXMATCH);
    matchlen_ = 0;
    pos_ = DICSIZ;
    insertNode();
    if (matchlen_ > remainder_)
        matchlen_ = remainder_;
    while (remainder_ > 0) {
        int lastmatchlen = matchlen_;
        const int lastmatchpos = matchpos_;
        getNextMatch();
        if (matchlen_ > remainder_)
            matchlen_ = remainder_;
        if (matchlen_ > lastmatchlen || lastmatchlen < THRESHOLD) {
            output(text_[pos_ - 1], 0);
        } else {
            output(lastmatchlen + (UCHAR_MAX_ + 1 - THRESHOLD),
                   (pos_ - lastmatchpos - 2) & (DICSIZ - 1));
            while (--lastmatchlen > 0)
                getNextMatch();
            if (matchlen_ > remainder_)
                matchlen_ = remainder_;
        }
    }
    sendBlock();
    putbits(7, 0);
}

// ---------------------------------------------------------------------------------------------
// Decoder

class BitReader {
public:
    BitReader(const std::uint8_t* data, qint64 size) : p_(data), end_(data + size), size_(size) {
        refill();
    }

    void refill() {
        if (count_ > 56)
            return;
        if (end_ - p_ >= 8) {
            std::uint64_t v;
            std::memcpy(&v, p_, 8);
            v = __builtin_bswap64(v);
            buf_ |= v >> count_;
            const int bytes = (63 - count_) >> 3;
            p_ += bytes;
            count_ += bytes << 3;
            return;
        }
        while (count_ <= 56) {
            std::uint64_t b = 0;
            if (p_ < end_)
                b = *p_++;
            else
                ++pastEnd_;
            buf_ |= b << (56 - count_);
            count_ += 8;
        }
        // A valid stream never needs more than its own bits and the few zero bits that end it.
        if (pastEnd_ > 0 && (size_ + pastEnd_) * 8 - count_ > (size_ + 8) * 8)
            corrupt();
    }
    // The next n bits (n <= 32) without consuming them; needs n <= count.
    unsigned peek(int n) const { return n ? unsigned(buf_ >> (64 - n)) : 0; }
    void skip(int n) {
        buf_ <<= n;
        count_ -= n;
    }
    unsigned get(int n) {
        if (count_ < n)
            refill();
        const unsigned v = peek(n);
        skip(n);
        return v;
    }
    int available() const { return count_; }
    qint64 inputSize() const { return size_; }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
    qint64 size_;
    qint64 pastEnd_ = 0;
    std::uint64_t buf_ = 0;
    int count_ = 0;
};

// A canonical prefix code: a first-level table of tableBits bits whose entries hold a symbol and
// its length, or point to a second-level table for the remaining 16 - tableBits bits.
class HuffTable {
public:
    static constexpr std::uint32_t kSub = 0x80000000u;

    void setSingle(int symbol, int tableBits) {
        tableBits_ = tableBits;
        entries_.assign(std::size_t(1) << tableBits, std::uint32_t(symbol));
    }

    void build(const std::uint8_t* lengths, int n, int tableBits) {
        tableBits_ = tableBits;
        int count[17] = {};
        for (int i = 0; i < n; i++)
            count[lengths[i]]++;
        std::uint32_t kraft = 0;
        for (int l = 1; l <= 16; l++)
            kraft += std::uint32_t(count[l]) << (16 - l);
        if (kraft != (1u << 16))
            corrupt();
        std::uint32_t start[18] = {};
        for (int l = 1; l <= 16; l++)
            start[l + 1] = (start[l] + count[l]) << 1;
        const int subBits = 16 - tableBits;
        entries_.assign(std::size_t(1) << tableBits, 0);
        std::vector<std::uint32_t>& e = entries_;
        for (int s = 0; s < n; s++) {
            const int l = lengths[s];
            if (!l)
                continue;
            const std::uint32_t code = start[l]++;
            const std::uint32_t value = std::uint32_t(s) | std::uint32_t(l) << 16;
            if (l <= tableBits) {
                const std::uint32_t first = code << (tableBits - l);
                std::fill(e.begin() + first, e.begin() + first + (1u << (tableBits - l)), value);
            } else {
                const std::uint32_t prefix = code >> (l - tableBits);
                if (!(e[prefix] & kSub)) {
                    e[prefix] = kSub | std::uint32_t(e.size());
                    e.resize(e.size() + (std::size_t(1) << subBits), 0);
                }
                const std::uint32_t base = e[prefix] & ~kSub;
                const std::uint32_t low = (code << (16 - l)) & ((1u << subBits) - 1);
                std::fill(e.begin() + base + low, e.begin() + base + low + (1u << (16 - l)), value);
            }
        }
    }

    // Needs at least 16 bits in the reader.
    int decode(BitReader& in) const {
        const unsigned bits = in.peek(16);
        std::uint32_t v = entries_[bits >> (16 - tableBits_)];
        if (v & kSub)
            v = entries_[(v & ~kSub) + (bits & ((1u << (16 - tableBits_)) - 1))];
        in.skip(int(v >> 16));
        return int(v & 0xFFFF);
    }

private:
    int tableBits_ = 8;
    std::vector<std::uint32_t> entries_;
};

class Decoder {
public:
    Decoder(const std::uint8_t* data, qint64 size) : in_(data, size) {}

    // Decodes length bytes into out. The buffer is allocated once for the whole output when the
    // data is large enough to plausibly hold it; otherwise it grows as the output does, so that a
    // damaged length does not reserve memory the data never fills.
    void decode(QByteArray& out, qint64 length);

private:
    void readBlockHeader();
    void readPtLen(int nn, int nbit, int iSpecial, HuffTable& table);
    void readCLen();

    BitReader in_;
    HuffTable cTable_, pTable_, tTable_;
    std::uint8_t cLen_[NC] = {};
    std::uint8_t ptLen_[NPT] = {};
    unsigned blockRemaining_ = 0;
};

void Decoder::readPtLen(int nn, int nbit, int iSpecial, HuffTable& table) {
    in_.refill();
    const int n = int(in_.get(nbit));
    if (n == 0) {
        const int c = int(in_.get(nbit));
        if (c >= nn)
            corrupt();
        table.setSingle(c, 8);
        return;
    }
    if (n > nn)
        corrupt();
    int i = 0;
    std::memset(ptLen_, 0, sizeof ptLen_);
    while (i < n) {
        in_.refill();
        int c = int(in_.peek(3));
        if (c == 7) {
            // 7 or more: one 1 bit per extra unit and a terminating 0 bit.
            const unsigned rest = in_.peek(3 + 14) & 0x3FFF;
            for (unsigned mask = 1u << 13; mask && (rest & mask); mask >>= 1)
                c++;
            if (c > 16)
                corrupt();
        }
        in_.skip(c < 7 ? 3 : c - 3);
        ptLen_[i++] = std::uint8_t(c);
        if (i == iSpecial) {
            int zeros = int(in_.get(2));
            if (i + zeros > nn)
                corrupt();
            while (--zeros >= 0)
                ptLen_[i++] = 0;
        }
    }
    table.build(ptLen_, nn, 8);
}

void Decoder::readCLen() {
    in_.refill();
    const int n = int(in_.get(CBIT));
    if (n == 0) {
        const int c = int(in_.get(CBIT));
        if (c >= NC)
            corrupt();
        cTable_.setSingle(c, 12);
        return;
    }
    if (n > NC)
        corrupt();
    std::memset(cLen_, 0, sizeof cLen_);
    int i = 0;
    while (i < n) {
        in_.refill();
        int c = tTable_.decode(in_);
        if (c <= 2) {
            int run;
            if (c == 0)
                run = 1;
            else if (c == 1)
                run = int(in_.get(4)) + 3;
            else
                run = int(in_.get(CBIT)) + 20;
            if (i + run > NC)
                corrupt();
            while (--run >= 0)
                cLen_[i++] = 0;
        } else
            cLen_[i++] = std::uint8_t(c - 2);
    }
    cTable_.build(cLen_, NC, 12);
}

void Decoder::readBlockHeader() {
    in_.refill();
    blockRemaining_ = in_.get(16);
    if (blockRemaining_ == 0)
        corrupt(); // only the empty input has a block without codes, and it is never decoded
    readPtLen(NT, TBIT, 3, tTable_);
    readCLen();
    readPtLen(NP, PBIT, -1, pTable_);
}

// The first allocation of the output: the whole length when the input could hold it at a ratio
// of up to kPlausibleRatio (pictures with large flat areas come close), else at least 1 MiB.
constexpr qint64 kPlausibleRatio = 1024;
constexpr qint64 kFirstCapacity = qint64(1) << 20;

void Decoder::decode(QByteArray& buffer, qint64 length) {
    qint64 capacity = std::min(length, std::max(kFirstCapacity, in_.inputSize() * kPlausibleRatio));
    buffer.resize(capacity);
    auto* out = reinterpret_cast<std::uint8_t*>(buffer.data());
    qint64 r = 0;
    while (r < length) {
        if (r + MAXMATCH > capacity && capacity < length) {
            capacity = std::min(length, capacity * 2);
            buffer.resize(capacity);
            out = reinterpret_cast<std::uint8_t*>(buffer.data());
        }
        if (blockRemaining_ == 0)
            readBlockHeader();
        blockRemaining_--;
        in_.refill();
        const int c = cTable_.decode(in_);
        if (c <= UCHAR_MAX_) {
            out[r++] = std::uint8_t(c);
            continue;
        }
        const int matchLength = c - (UCHAR_MAX_ + 1 - THRESHOLD);
        const int j = pTable_.decode(in_);
        unsigned d = 0;
        if (j != 0)
            d = (1u << (j - 1)) + in_.get(j - 1);
        const qint64 distance = qint64(d) + 1;
        qint64 count = std::min<qint64>(matchLength, length - r);
        qint64 from = r - distance;
        // Positions before the start read from the dictionary's initial zeros.
        while (from < 0 && count > 0) {
            out[r++] = 0;
            ++from;
            --count;
        }
        if (distance >= count) {
            std::memcpy(out + r, out + from, std::size_t(count));
            r += count;
        } else {
            while (count-- > 0)
                out[r++] = out[from++];
        }
    }
}

qint32 readLength(const char* p) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(p);
    return qint32(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                  std::uint32_t(b[3]) << 24);
}

} // namespace

QByteArray lzhCompressBytes(const QByteArray& input) {
    QByteArray out;
    out.reserve(input.size() / 2 + 64);
    const auto n = static_cast<std::uint32_t>(input.size());
    out.append(char(n & 0xFF)).append(char((n >> 8) & 0xFF));
    out.append(char((n >> 16) & 0xFF)).append(char((n >> 24) & 0xFF));
    auto encoder = std::make_unique<Encoder>(
        reinterpret_cast<const std::uint8_t*>(input.constData()), input.size(), out);
    encoder->encode();
    return out;
}

QByteArray lzhDecompressBytes(const QByteArray& framed) {
    if (framed.size() < 4)
        corrupt();
    const qint32 length = readLength(framed.constData());
    if (length <= 0)
        return {};
    if (length > kLZHMaxLength)
        corrupt();
    QByteArray out;
    Decoder decoder(reinterpret_cast<const std::uint8_t*>(framed.constData()) + 4,
                    framed.size() - 4);
    decoder.decode(out, length);
    return out;
}

void LZHCompress(MemoryStream& source, MemoryStream& dest) {
    const qint64 from = std::min(source.Position(), source.Size());
    const QByteArray input = QByteArray::fromRawData(source.Memory() + from, source.Size() - from);
    dest.WriteBytes(lzhCompressBytes(input));
    source.SetPosition(source.Size());
}

void LZHDecompress(MemoryStream& source, MemoryStream& dest) {
    const qint64 from = std::min(source.Position(), source.Size());
    const QByteArray framed = QByteArray::fromRawData(source.Memory() + from, source.Size() - from);
    const QByteArray out = lzhDecompressBytes(framed);
    dest.WriteBytes(out);
    source.SetPosition(source.Size());
}

} // namespace streams
