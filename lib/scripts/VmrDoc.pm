package VmrDoc;

# Helpers shared by the Velmor scripts: safe parsing of port descriptions, the
# vocabulary of their sections, atomic writes and the one-line failure report that the
# editor shows.
#
# Paths stay the bytes that the editor passed (UTF-8 on Linux): the file system takes them
# as they are, and a path is never mixed with a text of the document, which is made of
# characters. A name from the document becomes part of a path through utf8_bytes, and a
# path becomes part of a message through shown. Messages are characters, encoded once
# when they are printed.

use strict;
use warnings;

use Exporter 'import';
use Cwd ();
use Encode ();
use File::Basename ();
use File::Spec;
use File::Temp ();
use XML::LibXML;

our @EXPORT_OK = qw(
    run_main fail shown
    parse_document
    elements child child_text text_of significant_children
    port_name port_dir_name check_file_name
    write_file_atomic real_path utf8_bytes
    function_container document_model
    CURRENT_VERSION
);

use constant CURRENT_VERSION => 'V2009';

# Node types of libxml2 that matter here.
use constant {
    XML_ELEMENT_NODE    => 1,
    XML_TEXT_NODE       => 3,
    XML_CDATA_NODE      => 4,
    XML_ENTITY_REF_NODE => 5,
    XML_ENTITY_DECL     => 17,
};

# ---------------------------------------------------------------------------
# Running a script and reporting failures

# Every failure is a die with a one-line reason; run_main turns it into the last line of
# standard error and a non-zero exit status, which is what the editor shows.
sub fail {
    my ($message) = @_;
    die "$message\n";
}

sub run_main {
    my ($code) = @_;
    my $script = File::Basename::basename($0);
    my $ok = eval { $code->(); 1 };
    if ($ok) {
        close(STDOUT) or do {
            print STDERR "$script: cannot write standard output: $!\n";
            exit 1;
        };
        exit 0;
    }
    my $reason = $@ // 'unknown error';
    $reason = "$reason";
    # A die from outside the scripts holds bytes as they came, paths among them.
    $reason = shown($reason) unless utf8::is_utf8($reason);
    $reason =~ s/\s+\z//;
    $reason =~ s/\s*\n\s*/; /g;
    $reason = 'unknown error' if $reason eq '';
    print STDERR utf8_bytes(shown($script) . ": $reason\n");
    exit 1;
}

# A path (bytes) as the user reads it in a message; bytes that are not UTF-8 show as
# U+FFFD rather than as a wrong letter.
sub shown {
    my ($path) = @_;
    return '' unless defined $path;
    return $path if utf8::is_utf8($path);
    return Encode::decode('UTF-8', $path);
}

# ---------------------------------------------------------------------------
# Parsing

sub _parser {
    return XML::LibXML->new(
        load_ext_dtd    => 0,
        no_network      => 1,
        expand_entities => 0,
        huge            => 0,
        line_numbers    => 1,
    );
}

sub _parse_error {
    my ($what, $error) = @_;
    if (ref $error && eval { $error->can('message') }) {
        my $message = $error->message // '';
        $message = shown($message);
        $message =~ s/\s+\z//;
        $message =~ s/\s*\n\s*/ /g;
        my $line = eval { $error->line } || 0;
        return $line ? "cannot parse $what, line $line: $message"
                     : "cannot parse $what: $message";
    }
    my $text = shown("$error");
    $text =~ s/\s+\z//;
    ($text) = split /\n/, $text;
    return "cannot parse $what: $text";
}

# XML 1.0 cannot hold these characters at all, neither as they are nor as a character
# reference: a document that holds one is no longer XML, and the parser's own report of
# it is cryptic.
my $NOT_XML = qr/[\x00-\x08\x0B\x0C\x0E-\x1F\x{D800}-\x{DFFF}\x{FFFE}\x{FFFF}]/;

sub _not_xml_code {
    my ($code) = @_;
    return $code == 0 || $code > 0x10FFFF || chr($code) =~ $NOT_XML;
}

# The document's text in characters, decoded leniently so that surrogates and
# non-characters survive to be named.
sub _document_text {
    my ($bytes) = @_;
    my $encoding = 'utf8';
    if ($bytes =~ /\A\xFE\xFF/) {
        $encoding = 'UTF-16BE';
    } elsif ($bytes =~ /\A\xFF\xFE/) {
        $encoding = 'UTF-16LE';
    } elsif ($bytes =~ /\A<\?xml[^>]*?\sencoding\s*=\s*["']([A-Za-z0-9._-]+)["']/) {
        my $declared = Encode::find_encoding($1);
        $encoding = $declared->name if $declared && $declared->name !~ /^utf-?8/i;
    }
    return eval { Encode::decode($encoding, $bytes) } // '';
}

sub _position {
    my ($text, $offset) = @_;
    my $before = substr($text, 0, $offset);
    my $line = 1 + ($before =~ tr/\n//);
    my $column = $offset - rindex($before, "\n");
    return "line $line, column $column";
}

# Names the character that XML cannot hold when it explains why the parser failed: a
# raw one no later than the parser's complaint, or the character reference that the
# parser refused.
sub _not_xml_reason {
    my ($what, $path, $error) = @_;
    my $line = ref $error && eval { $error->line } || 0;
    my $message = ref $error && eval { $error->message } || "$error";
    open(my $fh, '<:raw', $path) or return undef;
    my $bytes = do { local $/; <$fh> };
    close $fh;
    my $text = _document_text($bytes // '');
    if ($text =~ $NOT_XML) {
        my $offset = $-[0];
        my $found = 1 + (substr($text, 0, $offset) =~ tr/\n//);
        return sprintf('%s holds a character that XML cannot hold (U+%04X) at %s', $what,
                       ord substr($text, $offset, 1), _position($text, $offset))
            if !$line || $found <= $line;
    }
    return undef unless $message =~ /CharRef/;
    # Inside comments and CDATA sections "&#...;" is plain text.
    (my $markup = $text) =~ s/(<!\[CDATA\[.*?\]\]>|<!--.*?-->)/' ' x length $1/gse;
    my @refs;
    while ($markup =~ /&#(?:x([0-9A-Fa-f]+)|([0-9]+));/g) {
        my ($offset, $hex) = ($-[0], defined $1);
        (my $digits = $1 // $2) =~ s/\A0+(?=.)//;
        my $code = length $digits > 7 ? 0x110000 : $hex ? hex $digits : $digits;
        push @refs, [$offset, $code] if _not_xml_code($code);
    }
    my ($ref) = ((grep { 1 + (substr($text, 0, $_->[0]) =~ tr/\n//) == $line } @refs), @refs);
    return undef unless $ref;
    return sprintf('%s refers to a character that XML cannot hold (U+%04X) at %s', $what,
                   $ref->[1], _position($text, $ref->[0]));
}

# Entities are refused outright: no declaration may expand into the document, and an
# entity reference that survives parsing would silently lose text.
sub _check_entities {
    my ($doc, $what) = @_;
    for my $dtd (grep { defined } $doc->internalSubset, $doc->externalSubset) {
        for my $node ($dtd->childNodes) {
            fail("$what declares entities, which are not accepted")
                if $node->nodeType == XML_ENTITY_DECL;
        }
    }
    my @stack = ($doc->documentElement);
    while (@stack) {
        my $node = pop @stack;
        next unless defined $node;
        fail("$what refers to an entity, which is not accepted")
            if $node->nodeType == XML_ENTITY_REF_NODE;
        push @stack, $node->childNodes if $node->hasChildNodes;
    }
}

sub _checked_document {
    my ($doc, $what, %opt) = @_;
    _check_entities($doc, $what);
    my $root = $doc->documentElement;
    fail("$what has no root element") unless $root;
    my $expected = exists $opt{root} ? $opt{root} : 'VMR';
    if (defined $expected && $root->nodeName ne $expected) {
        fail("$what is not a port description: its root element is "
             . $root->nodeName . ", not $expected");
    }
    return $doc;
}

# Parses a document file; dies with a one-line reason on any problem. The root element
# must be VMR unless another tag (or undef for any) is given as root => ...
sub parse_document {
    my ($path, %opt) = @_;
    fail("no document given") unless defined $path && length $path;
    my $what = shown($path);
    fail("cannot read $what: no such file") unless -e $path;
    fail("cannot read $what: it is a directory") if -d _;
    fail("cannot read $what: it is not a regular file") unless -f _;
    open(my $fh, '<:raw', $path) or fail("cannot read $what: $!");
    my $doc = eval { _parser()->parse_fh($fh) };
    my $error = $@;
    close $fh;
    fail(_not_xml_reason($what, $path, $error) // _parse_error($what, $error)) unless $doc;
    return _checked_document($doc, $what, %opt);
}

# ---------------------------------------------------------------------------
# Navigation, seen the way the editor sees a document

sub elements {
    my ($node, $tag) = @_;
    return () unless defined $node;
    return grep { $_->nodeType == XML_ELEMENT_NODE && (!defined $tag || $_->nodeName eq $tag) }
        $node->childNodes;
}

sub child {
    my ($node, $tag) = @_;
    return undef unless defined $node;
    for my $c ($node->childNodes) {
        return $c if $c->nodeType == XML_ELEMENT_NODE && $c->nodeName eq $tag;
    }
    return undef;
}

sub text_of {
    my ($node) = @_;
    return '' unless defined $node;
    my $text = $node->textContent;
    return defined $text ? $text : '';
}

sub child_text {
    my ($node, $tag) = @_;
    return text_of(child($node, $tag));
}

# The child nodes the editor's DOM keeps: blank text between elements is dropped there.
sub significant_children {
    my ($node) = @_;
    return () unless defined $node;
    return grep {
        !(($_->nodeType == XML_TEXT_NODE) && $_->data =~ /\A\s*\z/)
    } $node->childNodes;
}

sub attr {
    my ($el, $name) = @_;
    my $value = $el->getAttribute($name);
    return defined $value ? $value : '';
}

# ---------------------------------------------------------------------------
# Names

# The title of a port, exactly as the editor forms it for its port list.
sub port_name {
    my ($root) = @_;
    my $prefix = attr($root, 'type') eq 'CCPP' ? 'C++ ' : 'Ada ';
    return $prefix . attr($root, 'Name');
}

# The port directory: the document's file name with every ".xvm" removed.
sub port_dir_name {
    my ($path) = @_;
    my $name = File::Basename::basename($path);
    $name =~ s/\.xvm//g;
    return $name;
}

# A name from the document becomes one entry of the port directory and nothing else.
sub check_file_name {
    my ($name, $what) = @_;
    $name = '' unless defined $name;
    fail("$what has an empty name") if $name eq '';
    fail("$what \"$name\" is an absolute path") if $name =~ m{\A[/\\]} || $name =~ /\A[A-Za-z]:/;
    fail("$what \"$name\" contains a directory separator") if $name =~ m{[/\\]};
    fail("$what \"$name\" contains \"..\"") if index($name, '..') >= 0;
    fail("$what \"$name\" is not a file name") if $name eq '.';
    fail("$what \"$name\" contains a control character") if $name =~ /[\x00-\x1f\x7f]/;
    return $name;
}

# ---------------------------------------------------------------------------
# Writing

# The file that a path names, through any symbolic links; the path itself when it names
# nothing (yet).
sub real_path {
    my ($path) = @_;
    return $path unless -l $path;
    my $real = Cwd::abs_path($path);
    return defined $real && -e $real ? $real : $path;
}

sub utf8_bytes {
    my ($text) = @_;
    return Encode::encode('UTF-8', $text);
}

# Writes the bytes into a temporary file beside the destination and renames it over the
# destination, so that readers see either the old or the complete new file. Through a
# symbolic link the file it points to is replaced, and the link stays.
sub write_file_atomic {
    my ($path, $bytes, %opt) = @_;
    my $what = shown($path);
    $path = real_path($path);
    fail("cannot write $what: it is a directory") if -d $path;
    my ($volume, $dir, $file) = File::Spec->splitpath($path);
    $dir = File::Spec->catpath($volume, $dir, '');
    $dir = File::Spec->curdir if $dir eq '';
    fail("cannot write $what: directory " . shown($dir) . ' does not exist') unless -d $dir;
    my ($fh, $temp) = eval {
        File::Temp::tempfile(".$file.XXXXXX", DIR => $dir, UNLINK => 0)
    };
    fail("cannot write $what: cannot create a temporary file in " . shown($dir) . ': '
         . ($! || 'permission denied')) unless $fh;
    my $ok = eval {
        binmode $fh;
        if (ref $bytes eq 'CODE') {
            $bytes->($fh);
        } else {
            print {$fh} $bytes or fail("cannot write $what: $!");
        }
        close($fh) or fail("cannot write $what: $!");
        my $mode = defined $opt{mode} ? $opt{mode} : (0666 & ~umask);
        chmod($mode, $temp) or fail("cannot write $what: $!");
        rename($temp, $path) or fail("cannot write $what: $!");
        1;
    };
    unless ($ok) {
        my $error = $@;
        close $fh;
        unlink $temp;
        die $error;
    }
    return 1;
}

# ---------------------------------------------------------------------------
# The vocabulary of a port description

our @SETTINGS_TABLES = qw(IS_C IS_CPP IS_A IS_A83 IS_JAVA IS_ALL);
our @BUILD_STEPS = qw(ASSEMBLER COMPILATION PREPROCESSING LIBRARY LINK EXECUTE EXECUTEDBG
                      VMRPERLFUNC);
our @FUNCTION_CONTAINERS = qw(VALUEFCTPERL VALUEFCTADA VALUEFCT);
our @ONGLET_FUNCTIONS = qw(VALUEFCTPERL VALUEFCT VALUEFCTC VALUEFCTH);
our @FIELDS = qw(TEXT_MACRO TYPEADA CONSTANTADA CONSTANTSTRINGADA BINARY_MACRO
                 RENAMEADA OPTIONAL_MACRO);
our @TAB_FIELDS = qw(TEXT_MACRO BINARY_MACRO OPTIONAL_MACRO);

sub _kinds {
    my (%lists) = @_;
    my %map;
    for my $kind (keys %lists) {
        $map{$_} = $kind for @{ $lists{$kind} };
    }
    return \%map;
}

# Children of the configuration element.
our $CONF_KINDS = _kinds(
    text => [qw(FREE_TEXT_BEFORE_FOR_INSTR FREE_TEXT_BEFORE_FOR_VMR
                FREE_TEXT_BEFORE_FOR_INSTR_AND_GEN FREE_TEXT_AFTER_FOR_VMR
                FREE_TEXT_WITH_PRIV_IO_ADS FREE_TEXT_ADD_PRIV_IO_ADS)],
    section => [qw(COMPILER_SPECIFICS APPLICATION_SPECIFICS TESTING_SPECIFICS IO HEAP
                   CLOCKING THREADING FUNCTIONS)],
    item => [qw(RESTRICTIONS TYPES CONSTANTS COMPONENTTESTING)],
    choice => [qw(CLOCK THREADS FILTERS)],
    java => ['CUSTOMJAVA'],
    jvmpi => ['CUSTOMJVMPI'],
);

# Children of a section; the lists are disjoint, so one map keeps their order.
our $SECTION_KINDS = _kinds(
    subsection => [qw(SYSTEM_TESTING OBSERVATIONS COMMENT_PAGE)],
    choice => [qw(EXIT DATE INIT MEMCPY CLOCK THREADS GENERAL_IO ERROR_IO GENERAL_HEAP
                  LOWLEVEL_MEMLIB MEMLIB_EXTENSION CHOICE_PAGE)],
    item => [qw(PREPROCESSING_SPECIFICS LINKAGE CPP_SPECIFICS DATA_TYPES SPRINTF
                MAIN_RETURN STRING_SUPPORT FLOAT_SUPPORT SETTINGS_IO ITEM_PAGE)],
    function => [qw(PRIV_INIT PRIV_CLOCK PRIV_OPEN PRIV_WRITELN PRIV_CLOSE FCT_PAGE)],
    text => [qw(FREE_TEXT_WITH_PRIV_IO_ADB FREE_TEXT_TOP_ADD_PRIV_IO_ADB
                FREE_TEXT_ADD_PRIV_IO_ADB)],
);

our $SUBSECTION_KINDS = _kinds(
    choice => [qw(MEMCPY GETHOSTNAME KRNMAIN RDV ATEXIT GETENV GETPID SIGNAL LONGJMP
                  CHOICE_PAGE)],
    item => [qw(DYNTRACK INITSUPPORTED ITEM_PAGE)],
);

our $JAVA_KINDS = _kinds(
    text => ['JAVA_IMPORTS'],
    choice => [qw(JAVA_EARLYINIT JAVA_THREADS JAVA_DATARETRIEVAL JAVA_CLOCK)],
);

our $JVMPI_KINDS = _kinds(
    text => [qw(FREE_TEXT_BEFORE_FOR_VMR FREE_TEXT_AFTER_FOR_VMR BUILD_JVMPI)],
    choice => [qw(JVMPI_HEAP JVMPI_IO JVMPI_ERROR JVMPI_STRING JVMPI_DATE_IN_MILLISEC
                  JVMPI_SOCKET)],
);

our @PARSER_TEXTS = qw(STANDARDA83 STANDARDA95 SYSTEMADA83 SYSTEMADA95 JTESTXML PCOPP);

# The function of a build step or private function: the first present of the three
# containers, in that order of preference whatever their order in the document.
sub function_container {
    my ($el, @tags) = @_;
    @tags = @FUNCTION_CONTAINERS unless @tags;
    for my $tag (@tags) {
        my $c = child($el, $tag);
        return $c if $c;
    }
    return undef;
}

sub _function {
    my ($container) = @_;
    return undef unless $container;
    return {
        tag   => $container->nodeName,
        proto => child_text($container, 'PROTO'),
        body  => child_text($container, 'VALUE'),
        tail  => child_text($container, 'TAIL'),
        comment => child_text($container, 'COMMENT'),
    };
}

sub _field {
    my ($holder, $field, $allowed) = @_;
    my $tag = $field->nodeName;
    return undef unless grep { $_ eq $tag } @$allowed;
    my %f = (
        kind    => $tag,
        holder  => $holder->nodeName,
        name    => attr($field, 'Name'),
        comment => child_text($field, 'COMMENT'),
        line    => $field->line_number,
    );
    if ($tag eq 'BINARY_MACRO' || $tag eq 'RENAMEADA') {
        $f{on} = attr($field, 'Value') eq '1' ? 1 : 0;
        $f{value} = child_text($field, 'VALUE');
    } elsif ($tag eq 'OPTIONAL_MACRO') {
        $f{defined} = attr($field, 'Defined') eq '1' ? 1 : 0;
        $f{value} = attr($field, 'Value');
    } else {
        $f{value} = child_text($field, 'VALUE');
    }
    return \%f;
}

# Fields of an item page or item sheet: each child node holds one field as its first
# child node.
sub _fields {
    my ($el, $allowed) = @_;
    my @fields;
    for my $holder (elements($el)) {
        my ($first) = significant_children($holder);
        next unless $first && $first->nodeType == XML_ELEMENT_NODE;
        my $f = _field($holder, $first, $allowed);
        push @fields, $f if $f;
    }
    return \@fields;
}

sub _base {
    my ($el, $kind, $path) = @_;
    return {
        kind    => $kind,
        tag     => $el->nodeName,
        label   => attr($el, 'Label'),
        comment => child_text($el, 'COMMENT'),
        path    => [@$path, $el->nodeName],
    };
}

sub _choice {
    my ($el, $path) = @_;
    my $node = _base($el, 'choice', $path);
    my $choice = child($el, 'CHOICE');
    my @variants;
    my @tabs;
    if ($choice) {
        $node->{caption} = attr($choice, 'Name');
        $node->{value} = attr($choice, 'Value');
        for my $c (elements($choice)) {
            if ($c->nodeName eq 'CHOICEDATA') {
                my ($first) = $c->childNodes;
                next unless $first && ($first->nodeType == XML_TEXT_NODE
                                       || $first->nodeType == XML_CDATA_NODE);
                push @variants, { text => $first->data,
                                  sensitive => attr($c, 'Sensitive') eq '1' ? 1 : 0 };
            } elsif ($c->nodeName eq 'ONGLET') {
                my ($first) = significant_children($c);
                next unless $first && $first->nodeType == XML_ELEMENT_NODE;
                my $tag = $first->nodeName;
                my %tab = (label => attr($c, 'Label'));
                if (grep { $_ eq $tag } @ONGLET_FUNCTIONS) {
                    $tab{kind} = 'function';
                    $tab{function} = _function($first);
                    $tab{comment} = $tab{function}{comment};
                } elsif ($tag eq 'ITEM') {
                    $tab{kind} = 'item';
                    $tab{fields} = _fields($c, \@TAB_FIELDS);
                    $tab{comment} = child_text($first, 'COMMENT');
                } else {
                    next;
                }
                push @tabs, \%tab;
            }
        }
    }
    $node->{variants} = \@variants;
    $node->{tabs} = \@tabs;
    # The variant the editor shows as chosen: the last one whose text is the value, or
    # the first when none is.
    my ($chosen) = grep { $_->{text} eq ($node->{value} // "\0") } reverse @variants;
    $chosen ||= $variants[0];
    $node->{chosen} = $chosen;
    return $node;
}

sub _conf_node {
    my ($el, $kind, $path) = @_;
    if ($kind eq 'text') {
        my $node = _base($el, 'text', $path);
        $node->{text} = child_text($el, 'VALUE');
        return $node;
    }
    if ($kind eq 'item') {
        my $node = _base($el, 'item', $path);
        $node->{fields} = _fields($el, \@FIELDS);
        return $node;
    }
    if ($kind eq 'choice') {
        return _choice($el, $path);
    }
    if ($kind eq 'function') {
        my $node = _base($el, 'function', $path);
        $node->{function} = _function(function_container($el));
        return $node;
    }
    my %tables = (section => $SECTION_KINDS, subsection => $SUBSECTION_KINDS,
                  java => $JAVA_KINDS, jvmpi => $JVMPI_KINDS);
    my $table = $tables{$kind} or return undef;
    my $node = _base($el, $kind, $path);
    $node->{children} = _conf_children($el, $table, $node->{path});
    return $node;
}

sub _conf_children {
    my ($el, $table, $path) = @_;
    my @nodes;
    for my $c (elements($el)) {
        my $kind = $table->{$c->nodeName} or next;
        my $node = _conf_node($c, $kind, $path);
        push @nodes, $node if $node;
    }
    return \@nodes;
}

my %FAMILY = (LIBCONFC => 'C', LIBCONFA => 'Ada', LIBCONFJAVA => 'Java');

sub _libconf {
    my ($section) = @_;
    my $conf;
    for my $tag (qw(LIBCONFC LIBCONFA LIBCONFJAVA)) {
        $conf = child($section, $tag) and last;
    }
    my %model = (
        label   => attr($section, 'Label'),
        comment => child_text($section, 'COMMENT'),
        nodes   => [],
    );
    if ($conf) {
        $model{tag} = $conf->nodeName;
        $model{family} = $FAMILY{$conf->nodeName};
        $model{conf_label} = attr($conf, 'Label');
        $model{conf_comment} = child_text($conf, 'COMMENT');
        $model{nodes} = _conf_children($conf, $CONF_KINDS, []);
    }
    return \%model;
}

sub _settings {
    my ($section) = @_;
    my @tables;
    for my $table (elements($section)) {
        my $tag = $table->nodeName;
        next unless grep { $_ eq $tag } @SETTINGS_TABLES;
        my ($container) = elements($table);
        my @rows;
        for my $row (elements($container)) {
            next if $row->nodeName eq 'COMMENT';
            my $key = child($row, 'KEY') ? child_text($row, 'KEY') : $row->nodeName;
            push @rows, {
                key     => $key,
                value   => child_text($row, 'VALUE'),
                comment => child_text($row, 'COMMENT'),
                user    => $row->nodeName eq 'INIFIELD' ? 1 : 0,
                line    => $row->line_number,
            };
        }
        push @tables, {
            tag     => $tag,
            label   => attr($table, 'Label'),
            comment => $container ? child_text($container, 'COMMENT') : '',
            rows    => \@rows,
        };
    }
    return {
        label   => attr($section, 'Label'),
        comment => child_text($section, 'COMMENT'),
        tables  => \@tables,
    };
}

sub _build {
    my ($section) = @_;
    my @entries;
    for my $el (elements($section)) {
        my $tag = $el->nodeName;
        if (grep { $_ eq $tag } @BUILD_STEPS) {
            my $step = _base($el, 'step', []);
            $step->{function} = _function(function_container($el));
            push @entries, $step;
        } elsif ($tag eq 'NEWCMDFILE') {
            push @entries, {
                kind    => 'textfile',
                name    => attr($el, 'Name'),
                has_name => $el->hasAttribute('Name') ? 1 : 0,
                comment => child_text($el, 'COMMENT'),
                text    => child_text($el, 'VALUE'),
                line    => $el->line_number,
            };
        } elsif ($tag eq 'NEWBINFILE') {
            my ($encoded) = grep { $_->nodeName ne 'COMMENT' } elements($el);
            push @entries, {
                kind    => 'binfile',
                name    => attr($el, 'Name'),
                comment => child_text($el, 'COMMENT'),
                encoded => $encoded,
                size    => $encoded ? attr($encoded, 'Size') : '',
                line    => $el->line_number,
            };
        }
    }
    return {
        label   => attr($section, 'Label'),
        comment => child_text($section, 'COMMENT'),
        entries => \@entries,
    };
}

sub _parser_section {
    my ($section) = @_;
    my @entries;
    # The section's first child is its own business; the second holds the parser texts.
    my (undef, $container) = significant_children($section);
    if ($container && $container->nodeType == XML_ELEMENT_NODE) {
        for my $el (elements($container)) {
            my $tag = $el->nodeName;
            if ($tag eq 'PC_ORB') {
                my ($first) = significant_children($el);
                next unless $first && $first->nodeType == XML_ELEMENT_NODE;
                push @entries, { path => ['PC_ORB', $first->nodeName],
                                 label => attr($first, 'Label'),
                                 comment => child_text($first, 'COMMENT'),
                                 text => child_text($first, 'VALUE') };
            } elsif ($tag eq 'PC_EDG') {
                push @entries, { path => ['PC_EDG'], label => attr($el, 'Label'),
                                 comment => child_text($el, 'COMMENT'), group => 1 };
                for my $c (elements($el)) {
                    next unless $c->nodeName eq 'PCOPP' || $c->nodeName eq 'PCHPP';
                    push @entries, { path => ['PC_EDG', $c->nodeName],
                                     label => attr($c, 'Label'),
                                     comment => child_text($c, 'COMMENT'),
                                     text => child_text($c, 'VALUE') };
                }
            } elsif (grep { $_ eq $tag } @PARSER_TEXTS) {
                push @entries, { path => [$tag], label => attr($el, 'Label'),
                                 comment => child_text($el, 'COMMENT'),
                                 text => child_text($el, 'VALUE') };
            }
        }
    }
    return {
        label   => attr($section, 'Label'),
        comment => child_text($section, 'COMMENT'),
        entries => \@entries,
    };
}

# The whole document as the editor's tree shows it, as plain Perl data.
sub document_model {
    my ($doc) = @_;
    my $root = $doc->documentElement;
    my %model = (
        name      => attr($root, 'Name'),
        type      => attr($root, 'type'),
        version   => attr($root, 'Version'),
        port_name => port_name($root),
        comment   => child_text($root, 'COMMENT'),
    );
    my %builders = (IS => \&_settings, BUILD => \&_build, LIBCONF => \&_libconf,
                    PARSERCONF => \&_parser_section);
    my %key = (IS => 'settings', BUILD => 'build', LIBCONF => 'libconf',
               PARSERCONF => 'parser');
    for my $tag (qw(IS BUILD LIBCONF PARSERCONF)) {
        my $section = child($root, $tag) or next;
        $model{ $key{$tag} } = $builders{$tag}->($section);
    }
    return \%model;
}

1;
