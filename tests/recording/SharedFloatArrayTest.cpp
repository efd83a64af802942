#include "recording/SharedFloatArray.h"

#include <gtest/gtest.h>

namespace {

// Sanitizer builds turn any double free or leak of these into a failure.
TEST(SharedFloatArray, CopiesShareTheArrayAndTheLastOwnerReleasesIt) {
    SharedFloatArray a = SharedFloatArray::Allocate(4);
    a[0] = 1.5f;
    const SharedFloatArray& alias = a;
    a = alias; // its only owner keeps it
    SharedFloatArray b(a), c;
    c = b;
    c[1] = 2.5f;
    EXPECT_EQ(a[1], 2.5f);
    EXPECT_EQ(a.OwnerCount(), 3);
    b = SharedFloatArray::Allocate(3);
    c = b; // a's array stays with a alone
    EXPECT_EQ(a.OwnerCount(), 1);
    EXPECT_EQ(a[0], 1.5f);
    EXPECT_EQ(b.OwnerCount(), 2);
    a = SharedFloatArray(); // its last owner frees it

    // A raw array is taken over: the old one stays with its other owner, or is
    // freed with the last.
    float* old = b.data();
    b = new float[5];
    EXPECT_EQ(c.data(), old);
    EXPECT_EQ(c.OwnerCount(), 1);
    SharedFloatArray d;
    d = c; // counted apart from b's
    EXPECT_EQ(b.OwnerCount(), 1);
    b = new float[6];
    b = b.data(); // the same pointer: nothing happens
    EXPECT_EQ(b.OwnerCount(), 1);
}

} // namespace
