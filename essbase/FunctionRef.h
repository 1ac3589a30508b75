#pragma once
// A callable passed to a function that calls it before it returns, by
// reference: unlike std::function it never copies the callable nor allocates
// for what a lambda captures, which shows on calls made once a row. Only for
// parameters: one must not outlive the callable it was made from.
#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace essbase {

template <typename Signature>
class FunctionRef;

template <typename R, typename... Args>
class FunctionRef<R(Args...)> {
  // Any callable object but another FunctionRef, as std::function takes.
  template <typename F>
  static constexpr bool Takes =
      !std::is_same_v<std::remove_cvref_t<F>, FunctionRef> &&
      std::is_object_v<std::remove_reference_t<F>> && std::is_invocable_r_v<R, F&, Args...>;

 public:
  FunctionRef() noexcept = default;
  FunctionRef(std::nullptr_t) noexcept {}  // NOLINT: as std::function takes nullptr
  template <typename F, typename = std::enable_if_t<Takes<F>>>
  FunctionRef(F&& f) noexcept  // NOLINT: converts from any callable, as std::function does
      : object_(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
        call_([](void* object, Args... args) -> R {
          return std::invoke(*static_cast<std::remove_reference_t<F>*>(object),
                             std::forward<Args>(args)...);
        }) {}

  R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }
  explicit operator bool() const noexcept { return call_ != nullptr; }

 private:
  void* object_ = nullptr;
  R (*call_)(void*, Args...) = nullptr;
};

}  // namespace essbase
