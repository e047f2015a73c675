#pragma once
// The product's addresses on the web: the web site ("Visit Our Website" and the
// About box) and the support mail address (the About box).

namespace vistrel {

inline constexpr char kWebSiteUrl[] = "https://www.tessaroworks.com/vistrel/";
inline constexpr char kSupportMailUrl[] = "mailto:support@tessaroworks.com";
inline constexpr char kSupportMailText[] = "support@tessaroworks.com";

} // namespace vistrel
