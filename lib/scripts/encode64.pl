#!/usr/bin/perl
# Encodes a binary file as an XML document that a port description can embed.
#
#   encode64.pl FILE OUT
#
# OUT receives
#
#   <ENCODED_FILE Name="lib.a" Size="1234" Encoding="base64" Sha256="...">
#     <DATA>...</DATA>
#     ...
#   </ENCODED_FILE>
#
# Each DATA element holds the base64 text of one 57 KiB slice of the file, so that no
# text node comes near the 10 MB that XML parsers accept in one piece, however large the
# file. vmrgen.pl decodes the slices back and checks the size and the digest.

use strict;
use warnings;

use Digest::SHA ();
use Encode ();
use File::Basename ();
use FindBin;
use lib $FindBin::Bin;
use MIME::Base64 ();
use VmrDoc qw(run_main fail shown write_file_atomic utf8_bytes);

# A multiple of 57 bytes, so that every slice but the last fills whole 76-column lines
# and needs no padding.
use constant SLICE => 57 * 1024;

sub xml_attribute {
    my ($text) = @_;
    # Characters that XML 1.0 cannot carry at all are replaced; the rest is escaped.
    $text =~ s/[^\x09\x0A\x0D\x20-\x{D7FF}\x{E000}-\x{FFFD}\x{10000}-\x{10FFFF}]/\x{FFFD}/g;
    $text =~ s/&/&amp;/g;
    $text =~ s/</&lt;/g;
    $text =~ s/>/&gt;/g;
    $text =~ s/"/&quot;/g;
    $text =~ s/\t/&#9;/g;
    $text =~ s/\n/&#10;/g;
    $text =~ s/\r/&#13;/g;
    return $text;
}

sub display_name {
    my ($path) = @_;
    my $bytes = File::Basename::basename($path);
    my $name = eval { Encode::decode('UTF-8', $bytes, Encode::FB_CROAK) };
    return defined $name ? $name : Encode::decode('ISO-8859-1', $bytes);
}

sub open_input {
    my ($file) = @_;
    my $what = shown($file);
    fail("cannot read $what: no such file") unless -e $file;
    fail("cannot read $what: it is a directory") if -d _;
    fail("cannot read $what: it is not a regular file") unless -f _;
    open(my $in, '<:raw', $file) or fail("cannot read $what: $!");
    return $in;
}

run_main(sub {
    fail('usage: encode64.pl FILE OUT') unless @ARGV == 2;
    my ($file, $out) = @ARGV;
    fail('usage: encode64.pl FILE OUT') if $file eq '' || $out eq '';

    # The digest and size go into the root's attributes, so a first pass measures the
    # file; the second pass checks that it did not change in between.
    my $in = open_input($file);
    my $sha = Digest::SHA->new(256);
    $sha->addfile($in) or fail('cannot read ' . shown($file) . ": $!");
    my $digest = $sha->hexdigest;
    my $size = tell $in;
    close $in;

    my $attributes = sprintf('Name="%s" Size="%d" Encoding="base64" Sha256="%s"',
                             xml_attribute(display_name($file)), $size, $digest);
    write_file_atomic($out, sub {
        my ($fh) = @_;
        my $in = open_input($file);
        my $check = Digest::SHA->new(256);
        my $total = 0;
        print {$fh} qq{<?xml version="1.0" encoding="UTF-8"?>\n},
              utf8_bytes("<ENCODED_FILE $attributes>\n")
            or fail('cannot write ' . shown($out) . ": $!");
        while (1) {
            my $slice = '';
            # Fill whole slices even from a reader that returns short counts.
            while (length $slice < SLICE) {
                my $got = sysread($in, $slice, SLICE - length $slice, length $slice);
                fail('cannot read ' . shown($file) . ": $!") unless defined $got;
                last if $got == 0;
            }
            last if $slice eq '';
            $total += length $slice;
            $check->add($slice);
            print {$fh} "<DATA>\n", MIME::Base64::encode_base64($slice), "</DATA>\n"
                or fail('cannot write ' . shown($out) . ": $!");
            last if length $slice < SLICE;
        }
        close $in;
        fail(shown($file) . ' changed while it was being encoded')
            if $total != $size || $check->hexdigest ne $digest;
        print {$fh} "</ENCODED_FILE>\n" or fail('cannot write ' . shown($out) . ": $!");
    });
});
