# The release workflow sets version and sha256 from each notarized release (a pull request).
cask "wheelright" do
  version "1.0.0"
  sha256 :no_check

  url "https://github.com/wheelright/wheelright/releases/download/v#{version}/Wheelright-#{version}.dmg"
  name "Wheelright"
  desc "Reverse mouse-wheel scrolling while the trackpad keeps natural scrolling"
  homepage "https://github.com/wheelright/wheelright"

  depends_on macos: :ventura

  app "Wheelright.app"

  uninstall quit: "app.wheelright.Wheelright"

  zap trash: "~/Library/Preferences/app.wheelright.Wheelright.plist"
end
