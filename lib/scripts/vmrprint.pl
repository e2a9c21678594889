#!/usr/bin/perl
# Renders a port description as a text outline that reads without the editor.
#
#   vmrprint.pl DOC OUT
#
# The outline follows the editor's tree: each node by its label, then its settings,
# fields, chosen variants, functions and comments, indented by two blanks per level.
# Multi-line texts are quoted line by line behind "| ".

use strict;
use warnings;

use FindBin;
use lib $FindBin::Bin;
use VmrDoc qw(run_main fail shown parse_document document_model write_file_atomic utf8_bytes);

my @out;

# One entry, one line: a line break inside a name would break the indentation that
# tells what belongs to what.
sub line {
    my ($depth, $text) = @_;
    $text =~ s/\r/\\r/g;
    $text =~ s/\n/\\n/g;
    push @out, ('  ' x $depth) . $text;
}

sub block {
    my ($depth, $text) = @_;
    my @lines = split /\r\n|\r|\n/, $text, -1;
    pop @lines if @lines && $lines[-1] eq '';
    line($depth, $_ eq '' ? '|' : "| $_") for @lines;
}

# A short text stays on its line; a text with line breaks, or source code where leading
# blanks matter, goes below as a block.
sub labelled {
    my ($depth, $label, $text, %opt) = @_;
    my $sep = $opt{sep} // ': ';
    (my $shown_label = $sep) =~ s/\s+\z//;
    if (!defined $text || $text eq '') {
        line($depth, "$label$sep(empty)");
    } elsif ($opt{block} || $text =~ /\n./s) {
        line($depth, "$label$shown_label");
        block($depth + 1, $text);
    } else {
        (my $one = $text) =~ s/\n\z//;
        line($depth, "$label$sep$one");
    }
}

sub comment {
    my ($depth, $text) = @_;
    return unless defined $text && $text =~ /\S/;
    labelled($depth, 'Comment', $text);
}

sub name_of {
    my ($node) = @_;
    return $node->{label} ne '' ? $node->{label} : $node->{tag};
}

# Names, labels and variants in quotes, escaped as in C so that a quote or a line break
# in one cannot be mistaken for its end.
sub quoted {
    my ($text) = @_;
    $text =~ s/([\\"])/\\$1/g;
    $text =~ s/\n/\\n/g;
    $text =~ s/\r/\\r/g;
    $text =~ s/\t/\\t/g;
    return qq{"$text"};
}

sub function {
    my ($depth, $fct) = @_;
    unless ($fct) {
        line($depth, '(no function)');
        return;
    }
    comment($depth, $fct->{comment});
    labelled($depth, 'Prototype', $fct->{proto}, block => 1);
    labelled($depth, 'Body', $fct->{body}, block => 1);
    labelled($depth, 'Tail', $fct->{tail}, block => 1);
}

sub field {
    my ($depth, $f) = @_;
    my $name = $f->{name} ne '' ? $f->{name} : $f->{holder};
    my $kind = $f->{kind};
    my $value = $f->{value} // '';
    if ($kind eq 'BINARY_MACRO') {
        line($depth, "$name: " . ($f->{on} ? 'on' : 'off'));
    } elsif ($kind eq 'RENAMEADA') {
        line($depth, "renaming $name: " . ($f->{on} ? 'on' : 'off')
             . ($value =~ /\S/ ? " ($value)" : ''));
    } elsif ($kind eq 'OPTIONAL_MACRO') {
        line($depth, $f->{defined} ? "$name: defined, value " . quoted($value)
                                   : "$name: undefined (value kept: " . quoted($value) . ')');
    } elsif ($kind eq 'TYPEADA') {
        labelled($depth, "type $name", $value);
    } elsif ($kind eq 'CONSTANTADA') {
        labelled($depth, "constant $name", $value);
    } elsif ($kind eq 'CONSTANTSTRINGADA') {
        labelled($depth, "string constant $name", $value);
    } else {
        labelled($depth, $name, $value);
    }
    comment($depth + 1, $f->{comment});
}

sub choice {
    my ($depth, $node) = @_;
    my $chosen = $node->{chosen};
    line($depth, 'Choice ' . quoted(name_of($node)));
    comment($depth + 1, $node->{comment});
    # Captions are written for the form ("Clock:"); the outline adds its own colon.
    (my $caption = $node->{caption} // '') =~ s/\s*:?\s*\z//;
    $caption = 'Variant' if $caption eq '';
    unless ($chosen) {
        line($depth + 1, "$caption: (no variant)");
        return;
    }
    line($depth + 1, "$caption: " . quoted($chosen->{text}));
    line($depth + 1, 'Variants: ' . join(', ', map {
        quoted($_->{text}) . ($_->{sensitive} ? ' (with sheets)' : '')
    } @{ $node->{variants} }));
    for my $tab (@{ $node->{tabs} }) {
        line($depth + 1, 'Sheet ' . quoted($tab->{label})
             . ($chosen->{sensitive} ? '' : ' (not used by this variant)'));
        if ($tab->{kind} eq 'item') {
            comment($depth + 2, $tab->{comment});
            field($depth + 2, $_) for @{ $tab->{fields} };
        } else {
            function($depth + 2, $tab->{function});
        }
    }
}

sub conf_nodes {
    my ($depth, $nodes) = @_;
    for my $node (@$nodes) {
        my $kind = $node->{kind};
        if ($kind eq 'text') {
            line($depth, 'Text ' . quoted(name_of($node)));
            comment($depth + 1, $node->{comment});
            $node->{text} eq '' ? line($depth + 1, '(empty)') : block($depth + 1, $node->{text});
        } elsif ($kind eq 'item') {
            line($depth, 'Items ' . quoted(name_of($node)));
            comment($depth + 1, $node->{comment});
            field($depth + 1, $_) for @{ $node->{fields} };
        } elsif ($kind eq 'choice') {
            choice($depth, $node);
        } elsif ($kind eq 'function') {
            line($depth, 'Function ' . quoted(name_of($node)));
            comment($depth + 1, $node->{comment});
            function($depth + 1, $node->{function});
        } else {
            line($depth, 'Section ' . quoted(name_of($node)));
            comment($depth + 1, $node->{comment});
            conf_nodes($depth + 1, $node->{children});
        }
    }
}

sub render {
    my ($m) = @_;
    line(0, 'Port ' . quoted($m->{name}) . " ($m->{port_name})"
         . ($m->{version} ne '' ? ", version $m->{version}" : ''));
    comment(1, $m->{comment});

    if (my $s = $m->{settings}) {
        line(1, 'Settings ' . quoted($s->{label}));
        comment(2, $s->{comment});
        for my $table (@{ $s->{tables} }) {
            line(2, 'Table ' . quoted(name_of($table)) . " ($table->{tag})");
            comment(3, $table->{comment});
            for my $row (@{ $table->{rows} }) {
                labelled(3, ($row->{key} eq '' ? '(no key)' : $row->{key})
                         . ($row->{user} ? ' [user key]' : ''), $row->{value}, sep => ' = ');
                comment(4, $row->{comment});
            }
        }
    }

    if (my $b = $m->{build}) {
        line(1, 'Build ' . quoted($b->{label}));
        comment(2, $b->{comment});
        for my $e (@{ $b->{entries} }) {
            if ($e->{kind} eq 'step') {
                line(2, 'Step ' . quoted(name_of($e)) . " ($e->{tag})");
                comment(3, $e->{comment});
                function(3, $e->{function});
            } elsif ($e->{kind} eq 'textfile') {
                line(2, 'ASCII file ' . quoted($e->{name}));
                comment(3, $e->{comment});
                $e->{text} eq '' ? line(3, '(empty)') : block(3, $e->{text});
            } else {
                line(2, 'Binary file ' . quoted($e->{name})
                     . ($e->{size} =~ /^\d+$/ ? " ($e->{size} bytes)" : ' (no encoded data)'));
                comment(3, $e->{comment});
            }
        }
    }

    if (my $c = $m->{libconf}) {
        line(1, 'Library configuration ' . quoted($c->{label})
             . ($c->{family} ? " ($c->{family}, $c->{tag})" : ' (none)'));
        comment(2, $c->{comment});
        comment(2, $c->{conf_comment});
        conf_nodes(2, $c->{nodes});
    }

    if (my $p = $m->{parser}) {
        line(1, 'Parser ' . quoted($p->{label}));
        comment(2, $p->{comment});
        for my $e (@{ $p->{entries} }) {
            my $depth = @{ $e->{path} } > 1 && $e->{path}[0] eq 'PC_EDG' ? 3 : 2;
            my $title = $e->{label} ne '' ? $e->{label} : $e->{path}[-1];
            line($depth, ($e->{group} ? 'Group ' : 'Text ') . quoted($title)
                 . ' (' . join('/', @{ $e->{path} }) . ')');
            comment($depth + 1, $e->{comment});
            next if $e->{group};
            $e->{text} eq '' ? line($depth + 1, '(empty)') : block($depth + 1, $e->{text});
        }
    }
}

sub same_file {
    my ($a, $b) = @_;
    my @sa = stat $a or return 0;
    my @sb = stat $b or return 0;
    return $sa[0] == $sb[0] && $sa[1] == $sb[1];
}

run_main(sub {
    fail('usage: vmrprint.pl DOC OUT') unless @ARGV == 2 && $ARGV[1] ne '';
    my ($docpath, $outpath) = @ARGV;
    my $doc = parse_document($docpath);
    fail(shown($outpath) . ' is the document itself; choose another output file')
        if same_file($docpath, $outpath);
    render(document_model($doc));
    write_file_atomic($outpath, utf8_bytes(join("\n", @out) . "\n"));
});
