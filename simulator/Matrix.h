#pragma once

#include <cstddef>
#include <vector>

// A square matrix of doubles used 1-based: rows and columns 0..n exist, row and column 0 hold no
// unknown. Storage is one contiguous block with a table of row pointers, so elements can keep
// pointers to their entries for the whole run.
class Matrix {
public:
    Matrix() = default;
    explicit Matrix(int n) { resize(n); }
    Matrix(const Matrix&) = delete;
    Matrix& operator=(const Matrix&) = delete;
    Matrix(Matrix&&) = default;
    Matrix& operator=(Matrix&&) = default;

    // n unknowns: (n+1) x (n+1) entries, all zero.
    void resize(int n)
    {
        m_n = n;
        const size_t w = size_t(n) + 1;
        m_data.assign(w * w, 0.0);
        m_rows.resize(w);
        for (size_t i = 0; i < w; ++i)
            m_rows[i] = m_data.data() + i * w;
    }
    void zero() { std::fill(m_data.begin(), m_data.end(), 0.0); }
    void clear()
    {
        m_n = 0;
        m_data = {};
        m_rows = {};
    }

    int size() const { return m_n; }
    double** rows() { return m_rows.data(); }
    double* operator[](int i) { return m_rows[size_t(i)]; }
    const double* operator[](int i) const { return m_rows[size_t(i)]; }

private:
    int m_n = 0;
    std::vector<double> m_data;
    std::vector<double*> m_rows;
};
