#include "recording/SharedFloatArray.h"

SharedFloatArray::SharedFloatArray() : data_(nullptr), ownerCount_(new int(1)) {}

SharedFloatArray::SharedFloatArray(float* array) : data_(array), ownerCount_(new int(1)) {}

SharedFloatArray::SharedFloatArray(const SharedFloatArray& other)
    : data_(other.data_), ownerCount_(other.ownerCount_) {
    ++*ownerCount_;
}

SharedFloatArray& SharedFloatArray::operator=(const SharedFloatArray& other) {
    if (ownerCount_ == other.ownerCount_)
        return *this;
    Release();
    data_ = other.data_;
    ownerCount_ = other.ownerCount_;
    ++*ownerCount_;
    return *this;
}

SharedFloatArray::~SharedFloatArray() {
    Release();
}

SharedFloatArray& SharedFloatArray::operator=(float* array) {
    if (array == data_)
        return *this;
    if (--*ownerCount_ == 0) {
        delete[] data_;
        *ownerCount_ = 1; // reuse the count block
    } else {
        ownerCount_ = new int(1);
    }
    data_ = array;
    return *this;
}

SharedFloatArray SharedFloatArray::Allocate(size_t count) {
    return SharedFloatArray(new float[count]);
}

void SharedFloatArray::Release() {
    if (--*ownerCount_ == 0) {
        delete[] data_;
        delete ownerCount_;
    }
    data_ = nullptr;
    ownerCount_ = nullptr;
}
