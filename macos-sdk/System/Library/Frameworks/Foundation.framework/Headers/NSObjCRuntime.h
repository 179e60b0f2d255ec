#pragma once

#include <objc/objc.h>

#if defined(__cplusplus)
#define FOUNDATION_EXTERN extern "C"
#else
#define FOUNDATION_EXTERN extern
#endif
#define FOUNDATION_EXPORT FOUNDATION_EXTERN

#define NS_INLINE static __inline__ __attribute__((always_inline))
#define NS_ASSUME_NONNULL_BEGIN _Pragma("clang assume_nonnull begin")
#define NS_ASSUME_NONNULL_END _Pragma("clang assume_nonnull end")
#define NS_RETURNS_INNER_POINTER __attribute__((objc_returns_inner_pointer))
#define NS_DESIGNATED_INITIALIZER __attribute__((objc_designated_initializer))
#define NS_TYPED_EXTENSIBLE_ENUM __attribute__((swift_wrapper(struct)))

// Enums with a fixed underlying type, as the SDK declares them.
#define NS_ENUM(_type, _name) \
    enum _name : _type _name; \
    enum _name : _type

typedef long NSInteger;
typedef unsigned long NSUInteger;
