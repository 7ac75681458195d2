# The release workflow sets version and sha256 from each notarized release (a pull request).
# The app updates itself through Sparkle; auto_updates keeps `brew upgrade` from replacing a copy
# that has already updated itself.
cask "wheelright" do
  version "1.0.0"
  sha256 :no_check

  url "https://github.com/wheelright/wheelright/releases/download/v#{version}/Wheelright-#{version}.dmg"
  name "Wheelright"
  desc "Reverse mouse-wheel scrolling while the trackpad keeps natural scrolling"
  homepage "https://github.com/wheelright/wheelright"

  auto_updates true
  depends_on macos: :ventura

  app "Wheelright.app"

  uninstall quit: "app.wheelright.Wheelright"

  zap trash: [
    "~/Library/Caches/app.wheelright.Wheelright",
    "~/Library/Preferences/app.wheelright.Wheelright.plist",
  ]
end
