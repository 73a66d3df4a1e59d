#pragma once
// The index arithmetic of the tables, in one place: the sizes of the coordinates, how a
// symmetry class and the symmetry that leads to its representative share one value, the rows
// of the conjugation tables, and the index of every pruning table. The generators, the
// lookups and both searches use these and nothing else.
#include <cstdint>

#include "cube/symmetry.hpp"  // kUdSymmetries: the symmetries that keep the U-D axis

namespace tx {

// ------------------------------------------------------------------ coordinates
constexpr int kTwists = 2187;
constexpr int kFlips = 2048;
constexpr int kSlices = 495;
constexpr int kSlicePermutations = 24;  // of the four slice edges within their places
constexpr int kSliceSorted = kSlices * kSlicePermutations;  // 11880
constexpr int kCornerPerms = 40320;
constexpr int kUdEdgePerms = 40320;
constexpr int kDCornerPos = 70;
constexpr int kCenterOris = 4096;
constexpr int kCenterParities = 16;
constexpr int kFlipSliceRaw = kFlips * kSlices;
constexpr int kFlipSliceClasses = 64430;
constexpr int kSliceSortedClasses = 788;
constexpr int kCornerClasses = 2768;
constexpr int kSignatureNone = 288;
constexpr std::uint16_t kNoUdEdgePerm = 55555;  // udEdgeFromSlices: no cube has these slices

namespace index {

// Raw flipSlice: the slice coordinate and the flip.
constexpr int flipSlice(int slice, int flip) { return kFlips * slice + flip; }
constexpr int sliceOf(std::uint32_t flipSlice) { return static_cast<int>(flipSlice / kFlips); }
constexpr int flipOf(std::uint32_t flipSlice) { return static_cast<int>(flipSlice % kFlips); }

// A class value packs the class and the symmetry s with S_s X S_s^-1 the representative.
constexpr std::uint32_t classSym(std::uint32_t cls, std::uint32_t sym) { return kUdSymmetries * cls + sym; }
constexpr std::uint32_t classOf(std::uint32_t classSym) { return classSym / kUdSymmetries; }
constexpr std::uint32_t symOf(std::uint32_t classSym) { return classSym % kUdSymmetries; }

// Row of a conjugation table: the coordinate conjugated by symmetry sym < 16.
constexpr std::uint32_t conj(std::uint32_t coord, std::uint32_t sym) { return coord * kUdSymmetries + sym; }

// The permutation part of a sliceSorted coordinate, and the U-D edges of a phase-2 cube from
// the sliceSorted coordinates of its two other axes (the table udEdgeFromSlices).
constexpr std::uint32_t slicePermutation(std::uint32_t sliceSorted) { return sliceSorted % kSlicePermutations; }
constexpr std::uint32_t udEdgeFromSlices(std::uint32_t sliceSorted1, std::uint32_t sliceSorted2) {
    return sliceSorted1 * kSlicePermutations + slicePermutation(sliceSorted2);
}

// ------------------------------------------------------------------ pruning tables
// Every pruning table is indexed in the frame of a class representative.

// Phase 1: flipSlice class x twist.
constexpr std::uint64_t kPhase1Entries = std::uint64_t(kFlipSliceClasses) * kTwists;
constexpr std::uint64_t phase1(std::uint32_t cls, std::uint32_t twist) { return std::uint64_t(cls) * kTwists + twist; }

// Centre orientation counts: flipSlice class x centre parity x twist.
constexpr std::uint64_t kCenterRow = std::uint64_t(kCenterParities) * kTwists;  // 34992 per class
constexpr std::uint64_t kCenterEntries = kFlipSliceClasses * kCenterRow;
constexpr std::uint64_t center(std::uint32_t cls, std::uint32_t centerParity, std::uint32_t twist) {
    return std::uint64_t(cls) * kCenterRow + std::uint64_t(centerParity) * kTwists + twist;
}

// The huge table: one phase-1 table per D-corner position.
constexpr int kHugeParts = kDCornerPos;
constexpr std::uint64_t kHugeEntries = kHugeParts * kPhase1Entries;
constexpr std::uint64_t huge(std::uint32_t dCornerPos, std::uint64_t phase1Index) {
    return std::uint64_t(dCornerPos) * kPhase1Entries + phase1Index;
}

// Phase 2: U-D edge permutation x corner class.
constexpr std::uint64_t kPhase2Entries = std::uint64_t(kUdEdgePerms) * kCornerClasses;
constexpr std::uint64_t phase2(std::uint32_t udEdgePerm, std::uint32_t cornerClass) {
    return std::uint64_t(udEdgePerm) * kCornerClasses + cornerClass;
}

// Corners of the optimal solver: twist x corner class.
constexpr std::uint64_t kCornerEntries = std::uint64_t(kTwists) * kCornerClasses;
constexpr std::uint64_t corner(std::uint32_t twist, std::uint32_t cornerClass) {
    return std::uint64_t(twist) * kCornerClasses + cornerClass;
}

// Exact distances of the slice edges and centres: sliceSorted x centre orientation.
constexpr std::uint64_t kCenterSliceEntries = std::uint64_t(kSliceSorted) * kCenterOris;
constexpr std::uint64_t centerSlice(std::uint32_t sliceSorted, std::uint32_t centerOri) {
    return std::uint64_t(sliceSorted) * kCenterOris + centerOri;
}

// The packed layout keeps five entries in a byte.
constexpr std::uint64_t packedBytes(std::uint64_t entries) { return entries / 5; }

}  // namespace index
}  // namespace tx
