#include "recording/SharedFloatArray.h"

#include <gtest/gtest.h>

namespace {

// Sanitizer builds turn any double free or leak of these into a failure.
TEST(SharedFloatArray, DefaultHoldsNothingWithOneOwner) {
    SharedFloatArray empty;
    EXPECT_EQ(empty.data(), nullptr);
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty.ownerCount(), 1);
}

TEST(SharedFloatArray, CopiesShareTheArrayAndCountTheirOwners) {
    SharedFloatArray a = SharedFloatArray::Allocate(4);
    a[0] = 1.5f;
    {
        SharedFloatArray b(a);
        SharedFloatArray c;
        c = b;
        EXPECT_EQ(c.data(), a.data());
        EXPECT_EQ(a.ownerCount(), 3);
        c[1] = 2.5f;
        EXPECT_EQ(a[1], 2.5f);
        c = a; // already sharing: nothing changes
        EXPECT_EQ(a.ownerCount(), 3);
        const SharedFloatArray& alias = c;
        c = alias;
        EXPECT_EQ(a.ownerCount(), 3);
    }
    EXPECT_EQ(a.ownerCount(), 1);
    EXPECT_EQ(a[0], 1.5f);
}

TEST(SharedFloatArray, AssigningOverAValueReleasesWhatItHeld) {
    SharedFloatArray a = SharedFloatArray::Allocate(2);
    SharedFloatArray b = SharedFloatArray::Allocate(3);
    SharedFloatArray keep(b);
    b = a; // b's old array stays with `keep`
    EXPECT_EQ(keep.ownerCount(), 1);
    EXPECT_EQ(a.ownerCount(), 2);
    a = SharedFloatArray(); // a's array stays with b
    EXPECT_EQ(b.ownerCount(), 1);
    EXPECT_EQ(a.ownerCount(), 1);
}

TEST(SharedFloatArray, RawArrayAssignmentTakesOwnership) {
    SharedFloatArray a = SharedFloatArray::Allocate(2);
    SharedFloatArray shared(a);
    float* old = a.data();
    a = new float[5]; // the old array stays with `shared`; a gets a count of its own
    EXPECT_EQ(shared.data(), old);
    EXPECT_EQ(shared.ownerCount(), 1);
    EXPECT_EQ(a.ownerCount(), 1);
    EXPECT_NE(a.data(), old);

    a = new float[6]; // a was the last owner: its array is freed, its count reused
    EXPECT_EQ(a.ownerCount(), 1);
    float* same = a.data();
    a = same; // the same pointer: nothing happens
    EXPECT_EQ(a.data(), same);
    EXPECT_EQ(a.ownerCount(), 1);
}

} // namespace
