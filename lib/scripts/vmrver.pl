#!/usr/bin/perl
# Lists the format versions of port descriptions and brings an older document up to a
# later version.
#
#   vmrver.pl -list
#   vmrver.pl -update FILE [-fromver VERSION] [-tover VERSION]
#
# The update keeps the original beside the document as FILE.<version>.bak and replaces
# the document only once the new content is completely written. VERSIONS.md tells what
# changed between the versions.

# Oldest first; each step turns a document of the version before into the next one.
our @VERSIONS;

# The editor asks for the list at every start and waits for it: it is answered before
# any module is loaded (strict and warnings too), which takes ten times longer than the
# answer.
BEGIN {
    @VERSIONS = qw(V2005 V2007 V2009);
    if (@ARGV == 1 && $ARGV[0] eq '-list') {
        print "$_\n" for @VERSIONS;
        exit 0;
    }
}

use strict;
use warnings;

use Errno ();
use Fcntl ();
use File::Basename ();
use File::Copy ();
use FindBin;
use lib $FindBin::Bin;
use VmrDoc qw(run_main fail shown parse_document elements child write_file_atomic real_path
              utf8_bytes CURRENT_VERSION);

my %STEP = (
    V2007 => \&to_v2007,
    V2009 => \&to_v2009,
);

sub usage {
    fail('usage: vmrver.pl -list | vmrver.pl -update FILE [-fromver VERSION] '
         . '[-tover VERSION]');
}

sub index_of {
    my ($version) = @_;
    for my $i (0 .. $#VERSIONS) {
        return $i if $VERSIONS[$i] eq $version;
    }
    return -1;
}

# ---------------------------------------------------------------------------
# V2005 -> V2007

my %OLD_LANGUAGE = (C => 'CCPP', 'C++' => 'CCPP', CPP => 'CCPP', CCPP => 'CCPP');

sub new_child {
    my ($doc, $parent, $tag, $text, $before) = @_;
    my $el = $doc->createElement($tag);
    $el->appendText($text) if defined $text && length $text;
    if ($before) {
        $parent->insertBefore($el, $before);
    } else {
        $parent->appendChild($el);
    }
    return $el;
}

sub all_elements {
    my ($doc, $tag) = @_;
    return $doc->getElementsByTagName($tag)->get_nodelist;
}

# Function containers: HEADER, BODY and FOOTER became PROTO, VALUE and TAIL, and every
# function has all three so that the editor can store its body.
sub rename_function_parts {
    my ($doc) = @_;
    my %rename = (HEADER => 'PROTO', BODY => 'VALUE', FOOTER => 'TAIL');
    for my $tag (qw(VALUEFCTPERL VALUEFCTADA VALUEFCT VALUEFCTC VALUEFCTH)) {
        for my $fct (all_elements($doc, $tag)) {
            for my $part (elements($fct)) {
                my $new = $rename{ $part->nodeName } or next;
                $part->setNodeName($new);
            }
            for my $part (qw(PROTO VALUE TAIL)) {
                new_child($doc, $fct, $part) unless child($fct, $part);
            }
        }
    }
}

# User keys of settings tables: USERFIELD Key="k" Value="v" became INIFIELD with KEY and
# VALUE children.
sub convert_user_fields {
    my ($doc) = @_;
    for my $old (all_elements($doc, 'USERFIELD')) {
        my $new = $doc->createElement('INIFIELD');
        for my $attr ($old->attributes) {
            next unless $attr->isa('XML::LibXML::Attr');
            my $name = $attr->nodeName;
            next if $name eq 'Key' || $name eq 'Value';
            $new->setAttribute($name, $attr->value);
        }
        $new->setAttribute('Doc', 'ISOTHERS') unless $new->hasAttribute('Doc');
        new_child($doc, $new, 'KEY', $old->getAttribute('Key'));
        new_child($doc, $new, 'VALUE', $old->getAttribute('Value'));
        my $comment = child($old, 'COMMENT');
        if ($comment) {
            $new->appendChild($comment);
        } else {
            new_child($doc, $new, 'COMMENT');
        }
        $old->replaceNode($new);
    }
}

# ASCII files: ASCIIFILE File="x" became NEWCMDFILE Name="x", with COMMENT first and
# VALUE second.
sub convert_ascii_files {
    my ($doc) = @_;
    for my $file (all_elements($doc, 'ASCIIFILE')) {
        $file->setNodeName('NEWCMDFILE');
        if ($file->hasAttribute('File')) {
            $file->setAttribute('Name', $file->getAttribute('File'))
                unless $file->hasAttribute('Name');
            $file->removeAttribute('File');
        }
        my $comment = child($file, 'COMMENT') || $doc->createElement('COMMENT');
        my $value = child($file, 'VALUE') || $doc->createElement('VALUE');
        $file->insertBefore($comment, $file->firstChild);
        $file->insertAfter($value, $comment);
    }
}

sub to_v2007 {
    my ($doc) = @_;
    my $root = $doc->documentElement;
    if ($root->hasAttribute('Language')) {
        my $language = uc $root->getAttribute('Language');
        $language =~ s/^\s+|\s+$//g;
        $root->setAttribute('type', $OLD_LANGUAGE{$language} // $language)
            unless $root->hasAttribute('type');
        $root->removeAttribute('Language');
    }
    convert_user_fields($doc);
    rename_function_parts($doc);
    convert_ascii_files($doc);
}

# ---------------------------------------------------------------------------
# V2007 -> V2009

my %WORD_TO_FLAG = (on => '1', yes => '1', true => '1', 1 => '1',
                    off => '0', no => '0', false => '0', 0 => '0', '' => '0');

sub flag {
    my ($el, $attr) = @_;
    return unless $el->hasAttribute($attr);
    my $word = lc $el->getAttribute($attr);
    $word =~ s/^\s+|\s+$//g;
    my $flag = $WORD_TO_FLAG{$word};
    fail("unexpected $attr=\"" . $el->getAttribute($attr) . '" on ' . $el->nodeName
         . ' at line ' . $el->line_number . ': expected on or off') unless defined $flag;
    $el->setAttribute($attr, $flag);
}

my @PARSER_TAGS = qw(PC_ORB PC_EDG STANDARDA83 STANDARDA95 SYSTEMADA83 SYSTEMADA95 JTESTXML
                     PCOPP);

# The parser texts moved into a container after the section's comment.
sub wrap_parser_texts {
    my ($doc) = @_;
    my %parser = map { $_ => 1 } @PARSER_TAGS;
    for my $section (elements($doc->documentElement, 'PARSERCONF')) {
        my @children = elements($section);
        next unless grep { $parser{ $_->nodeName } } @children;
        my $comment = child($section, 'COMMENT');
        my $container = $doc->createElement('PARSERS');
        for my $c (@children) {
            next if $comment && $c->isSameNode($comment);
            $container->appendChild($c);
        }
        # Nothing but the comment and the container may come first: the editor skips the
        # first child node and reads the second.
        $section->removeChild($_) for $section->childNodes;
        $comment ||= $doc->createElement('COMMENT');
        $section->appendChild($comment);
        $section->appendChild($container);
    }
}

sub to_v2009 {
    my ($doc) = @_;
    my $root = $doc->documentElement;
    if ($root->hasAttribute('ReadOnly')) {
        my $word = lc $root->getAttribute('ReadOnly');
        $root->setAttribute('read_only', ($WORD_TO_FLAG{$word} // '0') eq '1' ? 'yes' : 'no')
            unless $root->hasAttribute('read_only');
        $root->removeAttribute('ReadOnly');
    }
    if ($root->hasAttribute('GenerateIn')) {
        $root->setAttribute('generate_in', $root->getAttribute('GenerateIn'))
            unless $root->hasAttribute('generate_in');
        $root->removeAttribute('GenerateIn');
    }
    flag($_, 'Value') for all_elements($doc, 'BINARY_MACRO'), all_elements($doc, 'RENAMEADA');
    flag($_, 'Defined') for all_elements($doc, 'OPTIONAL_MACRO');
    for my $choice (all_elements($doc, 'CHOICE')) {
        next unless $choice->hasAttribute('Selected');
        $choice->setAttribute('Value', $choice->getAttribute('Selected'))
            unless $choice->hasAttribute('Value');
        $choice->removeAttribute('Selected');
    }
    wrap_parser_texts($doc);
}

# ---------------------------------------------------------------------------

# Creates the backup under the first free name, FILE.<version>.bak, then
# FILE.<version>.1.bak, ...; a name is only taken when the file is created, so that no
# earlier backup, nor the file behind a symbolic link of that name, is ever written over.
# The version is one of the known names: plain ASCII, safe to join to the path's bytes.
sub keep_backup {
    my ($file, $version) = @_;
    for (my $n = 0; ; $n++) {
        my $path = $n ? "$file.$version.$n.bak" : "$file.$version.bak";
        my $flags = Fcntl::O_WRONLY() | Fcntl::O_CREAT() | Fcntl::O_EXCL();
        if (sysopen(my $fh, $path, $flags, 0600)) {
            binmode $fh;
            my $ok = File::Copy::copy($file, $fh) && close($fh);
            unless ($ok) {
                my $error = $!;
                unlink $path;
                fail('cannot keep a copy of ' . shown($file) . ' in ' . shown($path)
                     . ": $error");
            }
            return $path;
        }
        fail('cannot keep a copy of ' . shown($file) . ' in ' . shown($path) . ": $!")
            unless $!{EEXIST};
    }
}

sub update {
    my ($file, $from, $to) = @_;
    fail('no document given to update') unless defined $file && length $file;
    my $what = shown($file);
    fail("cannot update $what: no such file") unless -e $file;
    fail("cannot update $what: it is not a regular file") unless -f $file;
    fail("cannot update $what: the file is not writable") unless -w $file;
    $to = CURRENT_VERSION unless defined $to;
    my $target = index_of($to);
    fail('unknown target version ' . shown($to)) if $target < 0;
    if (defined $from) {
        fail('unknown version ' . shown($from)) if index_of($from) < 0;
    }

    my $doc = parse_document($file);
    my $root = $doc->documentElement;
    my $version = $root->hasAttribute('Version') ? $root->getAttribute('Version') : '';
    # A document without a version predates versioning: it is of the oldest format.
    my $actual = $version eq '' ? $VERSIONS[0] : $version;
    my $current = index_of($actual);
    fail("$what has the unknown version $actual") if $current < 0;
    fail("$what is of version $actual, not $from") if defined $from && $from ne $actual;
    fail("$what is already of version $actual") if $current == $target;
    fail("$what is of version $actual, later than $to") if $current > $target;

    for my $i ($current + 1 .. $target) {
        my $next = $VERSIONS[$i];
        $STEP{$next}->($doc);
        $root->setAttribute('Version', $next);
    }
    $doc->createInternalSubset('VMR', undef, 'vmr.dtd') unless $doc->internalSubset;
    $doc->setEncoding('UTF-8');
    my $bytes = $doc->toString(0);

    # A linked document is updated where it lies, and keeps its backups there.
    my $real = real_path($file);
    my $mode = (stat $real)[2] & 07777;
    my $backup = keep_backup($real, utf8_bytes($actual));
    chmod($mode, $backup);
    my $ok = eval { write_file_atomic($real, $bytes, mode => $mode); 1 };
    unless ($ok) {
        my $error = $@;
        unlink $backup;
        die $error;
    }
    print utf8_bytes("$what updated from $actual to $to; the original is kept in "
                     . shown($real eq $file ? File::Basename::basename($backup) : $backup)
                     . "\n");
}

run_main(sub {
    my @args = @ARGV;
    usage() unless @args;
    my $command = shift @args;
    if ($command eq '-list') {
        usage() if @args;
        print "$_\n" for @VERSIONS;
        return;
    }
    usage() unless $command eq '-update';
    my $file = shift @args;
    fail('-update needs the document to update') unless defined $file && $file !~ /^-/;
    my ($from, $to);
    while (@args) {
        my $option = shift @args;
        my $value = shift @args;
        fail(shown($option) . " needs a version") unless defined $value;
        if ($option eq '-fromver') {
            $from = $value;
        } elsif ($option eq '-tover') {
            $to = $value;
        } else {
            fail("unknown option " . shown($option));
        }
    }
    update($file, $from, $to);
});
