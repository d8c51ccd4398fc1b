# The program's layers and what each may include: the one table that
# cmake/CheckLayers.cmake (a test) holds every source file to.
#
# Dependencies point one way:
#
#   base <- settings <- tabs <- commands <- plugins/host, launcher
#        <- settings/dialog <- app
#
# (The settings dialog edits what every layer keeps, so it sits above them
# all but the program itself.)
#
# A layer reaches a layer above it only through an interface it declares
# itself and the upper layer implements (the panes' PaneHost, say). Each
# entry names a folder, then the folders whose headers its files may
# include; its own folder comes first. The libraries link the same way
# (panelry_layer in cmake/PanelryTarget.cmake).
set(PANELRY_LAYERS
  "base: base"
  "settings: settings base"
  "tabs: tabs settings base"
  "commands: commands tabs settings base"
  "plugins/host: plugins/host commands tabs settings base"
  "launcher: launcher commands tabs settings base"
  "settings/dialog: settings/dialog plugins/host launcher commands tabs settings base"
  "app: app settings/dialog plugins/host launcher commands tabs settings base"
  # A delivered plug-in links nothing of the program: it includes the
  # interface header, and what it shares with the program is compiled in.
  # Of base it may use only header-only owners (and the header-only window
  # and dialog binding), as the hook library: anything else would not link.
  "plugins/common: plugins/common"
  "plugins/datestamp: plugins/datestamp plugins/common base"
  "plugins/exefolder: plugins/exefolder plugins/common launcher base"
  "plugins/snap: plugins/snap plugins/common base"
  "plugins/classadd: plugins/classadd plugins/common settings base"
  "plugins/link: plugins/link plugins/common launcher base"
  # The hook library links nothing of the program: of base it may use only
  # header-only owners, as anything else would not link.
  "inputtap: inputtap base"
)

# Headers every layer may include: the hook library's interface, the tool
# plug-in interface and the program's resource ids.
set(PANELRY_SHARED_HEADERS
  inputtap/inputtap.h
  plugins/host/tool_plugin.h
  resources/resource_ids.h
)

# Folders that are no layer: they may include anything and nothing checks them.
set(PANELRY_UNLAYERED_FOLDERS tests bench scripts cmake resources)
