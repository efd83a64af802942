// One trace's samples: a reference-counted array of 32-bit floats shared by the
// trace store, the display model and the result tables without copying. The
// length is not stored; every trace of a store has samplesPerTrace elements.
// The owner count is atomic: the window's export thread shares the arrays of
// the store that the window goes on drawing.
#pragma once

#include <atomic>
#include <cstddef>

class SharedFloatArray {
public:
    // No samples and a fresh owner count of 1.
    SharedFloatArray();
    // Takes ownership of `array` (allocated with new[]); may be null.
    explicit SharedFloatArray(float* array);
    SharedFloatArray(const SharedFloatArray& other);
    SharedFloatArray& operator=(const SharedFloatArray& other);
    ~SharedFloatArray();

    // Takes ownership of `array` (new[]): the old array is freed when this was
    // its last owner, otherwise it stays with its other owners.
    SharedFloatArray& operator=(float* array);

    // Allocates a new array of `count` floats (uninitialised) owned by this value.
    static SharedFloatArray Allocate(size_t count);

    float* data() const { return m_data; }
    float& operator[](size_t i) const { return m_data[i]; }
    explicit operator bool() const { return m_data != nullptr; }
    // Number of values sharing the array (for tests and diagnostics).
    int OwnerCount() const { return *m_ownerCount; }

private:
    void Release();

    float* m_data;
    std::atomic<int>* m_ownerCount;
};
