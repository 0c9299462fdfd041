// Block codecs that let the engine copy their bytes: copying must give exactly what the codec
// gives, and the stored image keeps its reserved zeros whatever the member's padding holds.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <vector>

#include "fuzz/common/KivFuzzSamples.h"
#include "keyfrm/fx3d/SKiv3DFXPoint.h"
#include "keyfrm/fx3d/SKivFXEmitVertex.h"
#include "keyfrm/tracks/SKivFXBezierHandle.h"
#include "keyfrm/tracks/SKivFXPosiHandle.h"
#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivGeometryCodec.h"
#include "kivbase/persist/KivPersist.h"

namespace {

template <class T>
class CopyableBlockCodec : public ::testing::Test {};

using CopyableBlocks = ::testing::Types<SKivFXBezierHandle, SKiv3DFXPoint, SKivFXPosiHandle, SKivFXEmitVertex, CPoint, CRect>;
TYPED_TEST_SUITE(CopyableBlockCodec, CopyableBlocks);

template <class T>
using Image = std::array<BYTE, KivBlockCodec<T>::kSize>;

template <class T>
Image<T> Packed(const T& value) {
    Image<T> out{};
    KivBlockCodec<T>::Pack(value, out.data());
    return out;
}

// Stored bytes with every byte different, so that a byte landing in the wrong place shows.
// No float or double made of them is a NaN (the top bytes stay below 0x7F).
template <class T>
Image<T> Pattern(BYTE seed) {
    Image<T> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<BYTE>((seed + 13 * i) & 0x3F);
    return bytes;
}

}  // namespace

TYPED_TEST(CopyableBlockCodec, DeclaresWhatTheEngineRelies) {
    using T = TypeParam;
    static_assert(std::endian::native == std::endian::little, "the copies exist on little-endian hosts only");
    EXPECT_EQ(KivBlockCodec<T>::kSize, sizeof(T));
    EXPECT_TRUE(kiv_detail::BlockImageOf<T>() & kKivBlockLoadsAsImage);
    EXPECT_TRUE(kiv_detail::BlockImageOf<T>() & kKivBlockStoresAsImage);
}

TYPED_TEST(CopyableBlockCodec, CopyingTheStoredBytesLoadsWhatTheCodecLoads) {
    using T = TypeParam;
    for (const BYTE seed : {1, 7, 40}) {
        Image<T> stored = Pattern<T>(seed);
        if constexpr (requires { KivBlockCodec<T>::kStoredZeroAt; })
            std::memset(stored.data() + KivBlockCodec<T>::kStoredZeroAt, 0, 4);  // as written
        T decoded{};
        KivBlockCodec<T>::Unpack(stored.data(), decoded);
        T copied{};
        std::memcpy(static_cast<void*>(&copied), stored.data(), sizeof(T));
        // Compared through the codec: padding, which the copy fills, is never stored.
        EXPECT_EQ(Packed(copied), Packed(decoded)) << "seed " << int{seed};
        EXPECT_EQ(Packed(copied), stored) << "seed " << int{seed};
    }
}

TYPED_TEST(CopyableBlockCodec, MemberBytesStoreAsTheCodecStoresThem) {
    using T = TypeParam;
    for (const BYTE seed : {3, 22}) {
        const Image<T> pattern = Pattern<T>(seed);
        T value;
        std::memset(static_cast<void*>(&value), 0xAB, sizeof value);  // padding holding anything
        T fields{};
        KivBlockCodec<T>::Unpack(pattern.data(), fields);
        KivBlockCodec<T>::Unpack(Packed(fields).data(), value);  // the fields, the padding kept
        Image<T> image{};
        std::memcpy(image.data(), static_cast<const void*>(&value), sizeof value);
        if constexpr (requires { KivBlockCodec<T>::kStoredZeroAt; })
            std::memset(image.data() + KivBlockCodec<T>::kStoredZeroAt, 0, 4);
        EXPECT_EQ(image, Packed(value)) << "seed " << int{seed};
    }
}

TEST(CopyableBlockCodec, BezierHandlePaddingIsWhereTheReservedZerosGo) {
    EXPECT_EQ(offsetof(SKivFXBezierHandle, ValueOffset), 0u);
    EXPECT_EQ(offsetof(SKivFXBezierHandle, PosOffset), 8u);
    EXPECT_EQ(KivBlockCodec<SKivFXBezierHandle>::kStoredZeroAt, 4u);
}

// Named parts are what tools show of a block: every block field of every class has them,
// and they cover the stored image exactly (the reserved zeros aside), each once.
TEST(BlockParts, EveryStoredBlockNamesPartsThatTileItsImage) {
    int blocks = 0;
    for (const CRuntimeClass* cls : KivFuzzAllClasses())
        for (const KivClassLevel* level : KivLevelChain(cls))
            for (const KivFieldDef& f : level->fields) {
                if (f.member != KivMember::block || !f.IsStored()) continue;
                ++blocks;
                const auto parts = KivBlockPartsOf(f);
                ASSERT_FALSE(parts.empty()) << level->className << "." << f.name << " would be shown as bytes";
                std::vector<int> covered(f.blockSize, 0);
                if (f.blockZeroAt != kKivNoStoredZeros)
                    for (UINT i = 0; i < 4; ++i) ++covered.at(f.blockZeroAt + i);
                for (const KivBlockPart& p : parts)
                    for (UINT i = 0; i < KivPartBytes(p.type); ++i) ++covered.at(p.offset + i);
                EXPECT_EQ(covered, std::vector<int>(f.blockSize, 1)) << level->className << "." << f.name;
            }
    EXPECT_GT(blocks, 0);
}
