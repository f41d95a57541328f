# The main menus open with their items in order; every item, greyed or not, shows its prompt
# while highlighted, items without a prompt an empty pane.

P_NEW="Create a new document"
P_ADD="Add a race file"
P_OPEN="Open an existing document"
P_SAVE="Save the active document"
P_SAVEAS="Save the active document with a new name"
P_PRINT="Print the active document"
P_PREVIEW="Display full pages"
P_SETUP="Change the printer and printing options"
P_MRU="Open this document"
P_EXIT="Quit the application; prompts to save documents"
P_EXPORT="Export the laps as CSV or the chart as a PNG picture or a PDF"
P_RELOAD="Read the race's files again, keeping the selection and the view"

P_HIGHLIGHT="Draw the drivers selected in the list over the others, the others dimmed"
P_GAPTO="Show every gap to the first selected driver, or go back to the usual reference"
P_GAPCHART="Show how far each driver is behind the leader or the pace line"
P_POSITIONS="Show each driver's position at the end of every lap"
P_LAPTIMES="Show each driver's lap times lap by lap"
P_SUMMARY="Show the finishing order, the leaders, the fastest lap and the events"
P_FIT="Fit the chart's height to every curve"
P_FOLLOW="Read the race's files again whenever they change"
P_DISTINCT="Give every driver a colour of its own that reads on any background"


# Pane, the keys that open the menu, how many Down presses walk it, and the prompts they show.
TV_MENU_WALKS=(
  "list;alt+f;12;$P_ADD|$P_RELOAD|$P_EXPORT|$P_OPEN|$P_SAVE|$P_SAVEAS|$P_PRINT|$P_PREVIEW|$P_SETUP|$P_MRU|$P_EXIT|$P_NEW"
  "chart;alt+f;12;$P_ADD|$P_RELOAD|$P_EXPORT|$P_OPEN|$P_SAVE|$P_SAVEAS|$P_PRINT|$P_PREVIEW|$P_SETUP|$P_MRU|$P_EXIT|$P_NEW"
  "list;alt+e;1;Cut the selection"
  "list;alt+v;11;Show or hide the status bar|$P_HIGHLIGHT|$P_GAPTO|$P_FIT|$P_GAPCHART|$P_POSITIONS|$P_LAPTIMES|$P_SUMMARY|$P_FOLLOW|$P_DISTINCT|Show or hide the toolbar"
  "list;alt+o;2;|"
  "list;alt+h;1;Display program information, version number and copyright"
)

check_menus_by_keys() {
  local entry pane keys count expected walked
  for entry in "${TV_MENU_WALKS[@]}"; do
    IFS=';' read -r pane keys count expected <<<"$entry"
    [ "$(tv_active_pane)" = "$pane" ] || tv_key F6
    tv_key "$keys"
    tv_shot "menu-$keys-$pane" >/dev/null
    walked=$(tv_walk_menu "$count")
    tv_key Escape
    tv_key Escape
    tv_expect_eq "$keys in the $pane" "$expected" "$walked" || return 1
    [ "$(tv_status)" = "Ready" ] || { tv_why "closing the menu left '$(tv_status)'"; return 1; }
  done
}
tv_check "every menu item highlights with its prompt, greyed ones included, none an empty pane" check_menus_by_keys

