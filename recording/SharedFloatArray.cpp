#include "recording/SharedFloatArray.h"

SharedFloatArray::SharedFloatArray() : m_data(nullptr), m_ownerCount(new std::atomic<int>(1)) {}

SharedFloatArray::SharedFloatArray(float* array)
    : m_data(array), m_ownerCount(new std::atomic<int>(1)) {}

SharedFloatArray::SharedFloatArray(const SharedFloatArray& other)
    : m_data(other.m_data), m_ownerCount(other.m_ownerCount) {
    m_ownerCount->fetch_add(1, std::memory_order_relaxed);
}

SharedFloatArray& SharedFloatArray::operator=(const SharedFloatArray& other) {
    if (this == &other || m_ownerCount == other.m_ownerCount)
        return *this;
    Release();
    m_data = other.m_data;
    m_ownerCount = other.m_ownerCount;
    m_ownerCount->fetch_add(1, std::memory_order_relaxed);
    return *this;
}

SharedFloatArray::~SharedFloatArray() {
    Release();
}

SharedFloatArray& SharedFloatArray::operator=(float* array) {
    if (array == m_data)
        return *this;
    if (m_ownerCount->fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete[] m_data;
        *m_ownerCount = 1; // reuse the count block
    } else {
        m_ownerCount = new std::atomic<int>(1);
    }
    m_data = array;
    return *this;
}

SharedFloatArray SharedFloatArray::Allocate(size_t count) {
    return SharedFloatArray(new float[count]);
}

void SharedFloatArray::Release() {
    if (m_ownerCount->fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete[] m_data;
        delete m_ownerCount;
    }
    m_data = nullptr;
    m_ownerCount = nullptr;
}
