#include "recording/SharedFloatArray.h"

#include <gtest/gtest.h>

namespace {

// Sanitizer builds turn any double free or leak of these into a failure.
TEST(SharedFloatArray, CopiesShareTheArrayAndTheLastOwnerReleasesIt) {
    SharedFloatArray a = SharedFloatArray::Allocate(4);
    a[0] = 1.5f;
    {
        SharedFloatArray b(a);
        SharedFloatArray c;
        c = b;
        c[1] = 2.5f;
        EXPECT_EQ(a[1], 2.5f);
        c = a; // already sharing: nothing changes
        const SharedFloatArray& alias = c;
        c = alias;
        EXPECT_EQ(a.ownerCount(), 3);
    }
    EXPECT_EQ(a.ownerCount(), 1);
    EXPECT_EQ(a[0], 1.5f);

    SharedFloatArray b = SharedFloatArray::Allocate(3);
    SharedFloatArray keep(b);
    b = a; // b's old array stays with `keep`
    EXPECT_EQ(keep.ownerCount(), 1);
    EXPECT_EQ(a.ownerCount(), 2);
    a = SharedFloatArray(); // a's array stays with b
    EXPECT_EQ(b.ownerCount(), 1);
    EXPECT_EQ(a.ownerCount(), 1);

    // A raw array is taken over: the old one stays with its other owner, or is
    // freed with the last.
    float* old = b.data();
    SharedFloatArray shared(b);
    b = new float[5];
    EXPECT_EQ(shared.data(), old);
    EXPECT_EQ(shared.ownerCount(), 1);
    EXPECT_EQ(b.ownerCount(), 1);
    b = new float[6];
    float* same = b.data();
    b = same; // the same pointer: nothing happens
    EXPECT_EQ(b.data(), same);
    EXPECT_EQ(b.ownerCount(), 1);
}

} // namespace
