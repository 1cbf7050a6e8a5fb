# The lexical rules of the Interleaf ASCII reader: 26 modes, compiled at
# build time by tools/lexgen into the LexTable resource that SSLex runs.
#
# Notation
#   let NAME = PATTERN           names a pattern for later lines
#   group NAME ... end           rules that several modes share; "use NAME"
#                                puts them at that place of a mode
#   mode N TITLE [empty TOKEN] ... end
#                                one mode, its rules in priority order. The
#                                longest match wins; on equal length the rule
#                                written first. Where no rule matches even one
#                                character the mode returns its empty TOKEN
#                                with no text (modes without one report an
#                                invalid token).
#   PATTERN => TOKEN|skip [push TITLE | pop | switch TITLE]
#                                a rule: the token returned (skip: none) and
#                                what the match does to the mode stack; push
#                                and switch name their mode by its title
#   automaton ... end            a hand-written automaton, one state a line,
#                                the start state first:
#                                STATE [=> ACTION] : CLASS -> STATE ...
#                                a character with no edge ends the match
# Patterns
#   'text'      literal, case-sensitive; escapes \\ \' \t \n \xHH
#   [set]       one character of the set: characters, ranges a-z, escapes
#               as above and \] \- \^
#   [^set]      one character not in the set; double-byte characters (code
#               lead + 256 * trail) are never in a set, so they are in every
#               complemented one
#   ANY         any one character
#   NAME        a pattern named by let
#   ( ) | * + ? grouping, alternatives, repetition

let W   = [\t\n ]                       # whitespace
let K   = [+\-0-9A-Z_a-z]               # word character
let L   = [+\-A-Z_a-z]                  # word character, not a digit
let D   = [0-9]
let DQ  = '"'
let AP  = '\''
let AT  = '@'
let BS  = '\\'
let ESC = '\x1B'

# Every character of a word, at least one of them not a digit.
let WORD_TEXT = K* L K*
# One character that begins nothing else in a tag.
let TAG_OTHER = [^\t\n +\-0-9A-Z_a-z"'>]

# A JIS run: ESC $B, anything but ESC, ESC (B; always taken whole.
let JIS = ESC '$B' [^\x1B]* ESC '(B'
# Quoted text: a doubled quote belongs to it, as does a quote inside JIS.
let QUOTED_TEXT = ([^"\x1B] | DQ DQ | JIS)+
let QUOTED = DQ ([^"\x1B] | DQ DQ | JIS)* DQ

# Diagram data: E1 begins an item, E2 continues it (whitespace allowed).
let ESCAPED = BS [ ()<>,X\\x]
let E1 = [^\t\n ()<>,\\] | ESCAPED
let E2 = [^()<>,\\] | ESCAPED
let DATA = W* E1 E2*

# Text of the document body and of micro-documents.
group body-text
  [^\t\n\x1B<>]+              => TEXT
  JIS                         => TEXT
  # Note [lone ESC]: an ESC that begins no whole JIS run is one character of
  # text. Were it an empty match, the same empty TEXT would come back at the
  # same place for ever, since TEXT may follow TEXT.
  ESC                         => TEXT
  [\t\n]+                     => JUNK
  '>'                         => GREATER_THAN
  '<<'                        => LESS_THAN
  '<'                         => TAG_START push tag-attributes
  '<' DQ                      => COMPONENT_START push quoted-name
end

# The objects a diagram holds; skipped objects are read in the modes
# skipped-object and skipped-diagram-data.
group object-starts
  '(C' D+                     => OUTLINE_OBJECT_START push graphic-object
  '(' [ESXaeovz] D+           => GRAPHIC_OBJECT_START push graphic-object
  '(m' D+                     => EQUATION_START push graphic-object
  '(O' D+                     => OLD_STYLE_OUTLINE_OBJECT_START push old-style-outline
  '(t' D+                     => TEXT_STRING_START push text-string
  '(N' D+                     => NAMED_OBJECT_START push named-object
  '(g' D+                     => GROUP_START push group
  '(T' D+                     => MICRO_DOCUMENT_START push micro-document
  '(c' D+                     => CHART_START push chart
  '(D' D+                     => skip push skipped-diagram-data
  '(' [Vinpq] D+              => skip push skipped-object
end

group diagram-data
  DATA                        => DIAGRAM_DATA
  W+                          => skip
  ','                         => COMMA
end

# What groups and named objects pass over between their data.
group diagram-skips
  [<>]                        => skip
  BS | BS [^\n ()<>,X\\x]     => skip
end

# Backslash pairs and everything but parentheses, in outlines and the like.
group outline-skips
  BS [^\n] | BS | [^()\\]     => skip
end

mode 0 file-start
  '<!OPS,'                    => OPS_START switch header
  '<'                         => INCORRECT_FILE
  [^<]                        => INCORRECT_FILE
end

mode 1 document-body empty TEXT
  use body-text
  '<Comment>'                 => TAG
  '<Comment' | '<!Comment'    => MANUAL_COMMENT_START push tag-attributes
  '<!End Declarations>' W*    => END_DECLARATIONS
  '<!Font Definitions,'       => FONT_DEFINITIONS_START push font-definitions
  '<F' [1-9] D*               => FONT_CHANGE_START push tag-attributes
  '<!Autonumber Stream,' W+ DQ => AUTONUMBER_STREAM_START push quoted-name
  '<!Class,' W+ DQ            => CLASS_START push quoted-name
  '<Frame,'                   => FRAME_START push frame-attributes
  '<!Master Frame,'           => MASTER_FRAME_START push frame-attributes
  '<!Master Diagramming Object,' => MASTER_DIAGRAMMING_OBJECT_START push frame-attributes
  '<Page Header,'             => PAGE_HEADER_START push header-footer-preamble
  '<Page Footer,'             => PAGE_FOOTER_START push header-footer-preamble
  '<First Page Header,'       => FIRST_PAGE_HEADER_START push header-footer-preamble
  '<First Page Footer,'       => FIRST_PAGE_FOOTER_START push header-footer-preamble
  '<Right Page Header,'       => RIGHT_PAGE_HEADER_START push header-footer-preamble
  '<Right Page Footer,'       => RIGHT_PAGE_FOOTER_START push header-footer-preamble
  '<Left Page Header,'        => LEFT_PAGE_HEADER_START push header-footer-preamble
  '<Left Page Footer,'        => LEFT_PAGE_FOOTER_START push header-footer-preamble
  '<!APage,'                  => SPLIT_DOCUMENT_START push tag-attributes
  '<!Class Defaults,'         => CLASS_DEFAULTS_START push tag-attributes
  '<!Color Definitions,'      => COLOR_DEFINITIONS_START push tag-attributes
  '<!Color Name,'             => COLOR_NAME_START push tag-attributes
  '<!Color Tint,'             => COLOR_TINT_START push tag-attributes
  '<!Document,'               => DOCUMENT_START push tag-attributes
  '<!Include Declarations,'   => INCLUDE_DECLARATIONS_START push tag-attributes
  '<!Include,'                => INCLUDE_START push tag-attributes
  '<!Master Table,'           => MASTER_TABLE_START push tag-attributes
  '<!Page Number Stream,'     => PAGE_NUMBER_STREAM_START push tag-attributes
  '<!Page,'                   => PAGE_START push tag-attributes
  '<!Pattern Definitions,'    => PATTERN_DEFINITIONS_START push tag-attributes
  '<!Revision Tracking,'      => REVISION_TRACKING_START push tag-attributes
  '<Table'                    => TABLE_START push tag-attributes
  '<Row'                      => ROW_START push tag-attributes
  '<Master Row'               => MASTER_ROW_START push tag-attributes
  '<Cell'                     => CELL_START push tag-attributes
  '<End Table'                => END_TABLE_START push tag-attributes
end

mode 2 double-quoted-text empty DQUOTED_TEXT
  QUOTED_TEXT                 => DQUOTED_TEXT
  DQ                          => END_DQUOTE pop
end

mode 3 single-quoted-part
  W+                          => skip
  AP                          => END_SQUOTE pop
  '<'                         => TAG_START push tag-attributes
end

# The header; only the whitespace in front of Version belongs to a token.
mode 4 header
  W+ 'Version' W+ '=' W+      => VERSION
  'Character Encoding' W+ '=' W+ => CHARACTER_ENCODING
  D+                          => INTEGER
  '.'                         => PERIOD
  WORD_TEXT                   => WORD
  W                           => JUNK
  [^\t\n +\-0-9A-Z_a-z.>]     => JUNK
  '>'                         => OPS_END switch document-body
end

# Tag attributes. Keywords come before WORD, which also matches A-Page.
mode 5 tag-attributes
  'A-Page'                    => A_PAGE
  'A-Page # Style'            => JUNK
  'Font' W+ '=' W+ 'F'        => FONT
  'Alt Font' W+ '=' W+ 'F'    => ALT_FONT
  'Subcomponent' W+ '=' W+ 'yes' => SUBCOMPONENT
  WORD_TEXT                   => WORD
  D+                          => NUMBER
  W+                          => JUNK
  TAG_OTHER                   => JUNK
  DQ                          => START_DQUOTE push double-quoted-text
  AP                          => START_SQUOTE push single-quoted-part
  '>'                         => TAG_END pop
end

mode 6 font-definitions
  W                           => skip
  'F' [1-9] D*                => FONT_DEFINITION_ELEMENT_START
  '='                         => FONT_DEFINITION_ELEMENT_EQUAL push font-name-and-size
  'Bold'                      => FONT_DEFINITION_ELEMENT_BOLD
  'Italic'                    => FONT_DEFINITION_ELEMENT_ITALIC
  'Underline'                 => FONT_DEFINITION_ELEMENT_UNDERLINE
  ','                         => FONT_DEFINITION_ELEMENT_COMMA
  '>'                         => TAG_END pop
end

# Font name and size after '='. Space belongs to the name; a digit run after
# a space belongs to it only when a letter follows, so ' Univers 55 Bold 10'
# gives the word ' Univers ' and the size 55.
mode 7 font-name-and-size
  [\t\n]                      => skip
  automaton
    start                                          : L -> name  ' ' -> gap  D -> size    '.' -> fraction
    name     => FONT_DEFINITION_ELEMENT_WORD       : L -> name  ' ' -> gap  D -> name
    gap      => FONT_DEFINITION_ELEMENT_WORD       : L -> name  ' ' -> gap  D -> digits
    digits                                         : L -> gap               D -> digits
    size     => FONT_DEFINITION_ELEMENT_SIZE pop   : L -> gap               D -> size    '.' -> fraction
    fraction => FONT_DEFINITION_ELEMENT_SIZE pop   :                        D -> fraction '.' -> fraction
  end
end

mode 8 quoted-name empty DQUOTED_TEXT
  QUOTED_TEXT                 => DQUOTED_TEXT
  DQ                          => END_DQUOTE switch tag-attributes
end

mode 9 frame-attributes
  'Name' W+ '=' W+            => FRAME_NAME
  'Numbered' W+ '=' W+        => NUMBERED
  'Shared Contents' W+ '=' W+ 'yes' => FRAME_SHARED_CONTENTS
  'Diagram =' [^,]* ','       => DIAGRAM_START switch frame-diagram
  K+                          => WORD
  W+                          => JUNK
  TAG_OTHER                   => JUNK
  DQ                          => START_DQUOTE push double-quoted-text
  AP                          => START_SQUOTE push single-quoted-part
  '>'                         => FRAME_END pop
end

# Page header or footer: everything up to the diagram is passed over.
mode 10 header-footer-preamble
  ANY                         => skip
  'V11,'                      => skip push header-footer-diagram
end

mode 11 header-footer-diagram
  W+                          => JUNK
  '>'                         => FRAME_END switch document-body
  use object-starts
end

mode 12 frame-diagram
  W+                          => JUNK
  '>'                         => FRAME_END pop
  use object-starts
end

mode 13 skipped-object
  use object-starts
  ')'                         => skip pop
  use outline-skips
end

mode 14 group empty DIAGRAM_DATA
  use diagram-data
  ')'                         => GROUP_END pop
  use diagram-skips
  use object-starts
end

# A named attribute: comma, at sign, quoted name, equals sign, quoted value.
mode 15 named-object empty DIAGRAM_DATA
  use diagram-data
  ')'                         => NAMED_OBJECT_END pop
  ',' W+ AT QUOTED W+ '=' W+ QUOTED W* => skip
  use diagram-skips
  use object-starts
end

mode 16 skipped-diagram-data
  ANY                         => skip
  '(D0,2,0' '0'* ')'          => skip pop
end

mode 17 old-style-outline
  ')'                         => OLD_STYLE_OUTLINE_OBJECT_END pop
  '('                         => skip push nested-parentheses
  use outline-skips
end

mode 18 nested-parentheses
  ')'                         => skip pop
  '('                         => skip push nested-parentheses
  use outline-skips
end

mode 19 text-string empty DIAGRAM_DATA
  E2+                         => DIAGRAM_DATA
  ','                         => COMMA
  ')'                         => TEXT_STRING_END pop
end

# Graphics, equations and outlines: '(' does not nest here.
mode 20 graphic-object
  ')'                         => GRAPHIC_OBJECT_END pop
  BS [^\n] | BS | [^)\\]      => skip
end

mode 21 chart empty DIAGRAM_DATA
  use diagram-data
  '(cD,'                      => CHART_LABEL_START push chart-label
  '('                         => skip push nested-parentheses
  ')'                         => CHART_END pop
end

# The label's later fields belong to its end.
mode 22 chart-label empty DIAGRAM_DATA
  DATA                        => DIAGRAM_DATA
  W+                          => skip
  ',' [^)]* ')'               => CHART_LABEL_END pop
end

mode 23 micro-document empty DIAGRAM_DATA
  use diagram-data
  '<'                         => TAG_START push micro-document-tag
  ')' | ')\n'                 => MICRO_DOCUMENT_END pop
end

mode 24 micro-document-tag
  K+                          => WORD
  W+                          => JUNK
  TAG_OTHER                   => JUNK
  DQ                          => START_DQUOTE push double-quoted-text
  AP                          => START_SQUOTE push single-quoted-part
  '>'                         => TAG_END switch micro-document-text
end

mode 25 micro-document-text empty TEXT
  use body-text
  '<End Text>'                => END_TEXT pop
end
